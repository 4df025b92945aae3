#pragma once

#include <QString>

#include <cstdint>
#include <functional>

namespace orvx::controls {
class CDtmTextControl;
}
namespace orvx::framework {
class CApplicationViewBase;
}

namespace orvx::views {

// Two entries of a page that must agree with each other, a low and a high one. Each time the
// user leaves either field, after the field's own check and commit, the pair is compared,
// unless one of them is invalid on its own (its own message comes first). The pair counts as
// one invalid entry: parameter::InvalidEntries is counted up once when it turns inconsistent
// and down once when it is consistent again; a count the device does not take changes nothing.
// A text that is no number ends the comparison quietly.
//
// A pair that several pages show (the friction limits) keeps its agreement where every page
// sees it: the page hands a keeper; by default the check keeps it itself.
class CEntryPairCheck {
public:
    // Whether a low and a high value agree.
    using Rule = bool (*)(double low, double high);
    // Where the pair's agreement is kept.
    struct Keeper {
        std::function<bool()> consistent;
        std::function<void(bool)> setConsistent;
    };

    // 'refusal' is what the user is told while the pair alone is wrong.
    CEntryPairCheck(framework::CApplicationViewBase& page, std::int32_t lowControl, std::int32_t highControl,
                    Rule consistent, QString refusal, Keeper keeper = {});

    // Checks the pair whenever the user leaves either field; call once the controls are bound.
    void Watch(controls::CDtmTextControl* low, controls::CDtmTextControl* high);
    // Compares the two entries as they stand now.
    void Check();
    bool Consistent() const;
    // The page's check before what depends on the pair: when the pair alone is wrong, the
    // page refuses with the message; answers whether the pair is consistent.
    bool Verify();
    // The page's invalid entries were forgotten: the pair counts as consistent.
    void Reset() { record(true); }

private:
    void record(bool consistent);

    framework::CApplicationViewBase& m_page;
    std::int32_t m_lowControl;
    std::int32_t m_highControl;
    Rule m_rule;
    QString m_refusal;
    Keeper m_keeper;
    controls::CDtmTextControl* m_low = nullptr;
    controls::CDtmTextControl* m_high = nullptr;
    bool m_consistent = true;  // unless a keeper keeps it
};

}  // namespace orvx::views
