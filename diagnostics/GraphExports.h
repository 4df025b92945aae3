#pragma once

#include "GraphData.h"
#include "PstGrading.h"
#include "SignatureAnalysis.h"

#include <optional>

class QWidget;

namespace orvx::chart {
class CDiagChart;
}

namespace orvx::diagnostics {

// The graph window's exports. Each asks for a file through the dialog service (nothing happens
// when the user cancels), writes it whole or not at all, and tells the user in a message box
// which file could not be written and why.
class CGraphExports {
public:
    CGraphExports(QWidget& owner, const CGraphData& data, const chart::CDiagChart& chart);

    // Both strokes as a CSV table.
    void Csv() const;
    // The chart as a PNG picture.
    void Png() const;
    // A one-page PDF report of a PST: the figures read off its signature, graded against the
    // limits (in the figures' unit), and the chart as it stands, with `legend` below it.
    void PstReport(const SignatureFigures& figures, const std::optional<PstLimits>& limits,
                   const QString& legend) const;

    // The name offered for a new file: the device tag (characters a file name cannot hold
    // replaced by "_"), the time now and the kind, with the extension.
    static QString SuggestedName(const DiagRecord& record, const QString& extension);

private:
    // The chosen file, with the extension added when the user typed none; null when cancelled.
    QString choose(const QString& caption, const QString& filter, const QString& extension) const;
    void reportFailure(const QString& path, const QString& reason) const;

    QWidget& m_owner;
    const CGraphData& m_data;
    const chart::CDiagChart& m_chart;
};

}  // namespace orvx::diagnostics
