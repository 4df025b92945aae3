#pragma once

#include "ResourcePage.h"
#include "controls/PressureUnitFollower.h"

#include <cstdint>
#include <optional>
#include <vector>

class QLabel;

namespace orvx::chart {
class CTrendChart;
}

namespace orvx::views {

// The trend control's page: input signal, valve position and actuator pressure as numbers and
// as a chart over the last three minutes. Each notification of new values (code::NewValues)
// of the trend model adds one sample; nothing else moves the chart.
class CTrendDlg final : public CResourcePage {
public:
    CTrendDlg();

    void LoadViewSetting() override;
    void OnUpdate(std::int32_t code, const QString& text) override;
    void RefreshControls(std::int32_t controlId) override;

    // The samples kept: seconds since the first sample, signal (%), position (%), pressure.
    struct Samples {
        std::vector<float> time, signal, position, pressure;
    };
    const Samples& Store() const { return m_samples; }
    // The right end of the time axis in seconds.
    double TimeAxisEnd() const { return m_timeEnd; }

protected:
    void InitDialog() override;
    void CreateControls() override;

private:
    // Reads the measured pressure unit and gives the right axis and the unit label that unit when it changed.
    void followPressureUnit();
    // Sets the right axis range and title and the unit label for a known unit.
    void applyPressureUnit(std::uint32_t unit);
    // Reads the three values and adds them as a sample; a value that cannot be read adds none.
    void takeSample();
    void addSample(float signal, float position, float pressure);
    // The input signal in percent of the 4 to 20 mA span; raises when it cannot be read.
    double signalPercent();

    chart::CTrendChart* m_chart = nullptr;
    QLabel* m_signal = nullptr;
    QLabel* m_unit = nullptr;
    Samples m_samples;
    std::optional<std::int64_t> m_firstTick;
    double m_timeEnd = 120;
    controls::CPressureUnitFollower m_pressureUnit;
};

}  // namespace orvx::views
