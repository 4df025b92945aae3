#pragma once

#include <QObject>
#include <QString>

#include <cstdint>

class QLineEdit;

namespace orvx::framework {
class CApplicationViewBase;
}

namespace orvx::views {

// Two entries of a page that must agree with each other, a low and a high one. When either
// loses the focus the pair is checked, unless one of them is invalid on its own: the pair then
// counts as one invalid entry of the page, "15001" counted up once when it turns inconsistent
// and down once when it is consistent again. A text that is no number ends the check quietly.
class CEntryPairCheck : public QObject {
public:
    // Whether a low and a high value agree.
    using Rule = bool (*)(double low, double high);

    CEntryPairCheck(framework::CApplicationViewBase& page, std::int32_t lowControl, std::int32_t highControl,
                    Rule consistent);

    // Watches the entries' focus. Call before the controls are bound, so that this check runs
    // after the controls' own filters have validated and committed the entry.
    void Watch(QLineEdit* low, QLineEdit* high);
    void Check();
    bool Consistent() const { return m_consistent; }
    // The page's check before it is left: shows 'message' when the pair alone is wrong and
    // message boxes are allowed; answers whether the pair is consistent.
    bool Verify(const QString& message) const;
    // The page's invalid entries were forgotten: the pair counts as consistent.
    void Reset() { m_consistent = true; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    framework::CApplicationViewBase& m_page;
    std::int32_t m_lowControl;
    std::int32_t m_highControl;
    Rule m_rule;
    QLineEdit* m_low = nullptr;
    QLineEdit* m_high = nullptr;
    bool m_consistent = true;
};

}  // namespace orvx::views
