#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace orvx::framework {
class IUIController;
}

namespace orvx::controls {

class CDtmTextControl;

// How a page's pressures follow a change of the device's pressure unit (HART codes 6 psi,
// 7 bar, 12 kPa). Values that came from the device or the data set are already in the new unit
// when the unit changes (the business object keeps its pressures in its current unit): they keep
// their number and only take the new unit. An entry the user has typed and not sent yet is
// still in the old unit: it is converted, shown with 1 decimal for psi, 3 for bar and 0 for kPa,
// and stays the user's entry, to be sent when the field is left. A code that is none of the
// three changes nothing and is not remembered, so the next known code is compared with the
// last one shown.
class CPressureUnitFollower {
public:
    // 'shown' is the unit the page shows before the first code is followed; with none, the first
    // code converts nothing.
    explicit CPressureUnitFollower(std::optional<std::uint32_t> shown = std::nullopt) : m_shown(shown) {}

    // A pressure entry: its unit label, its validator's unit and a pending entry follow.
    void AddEntry(CDtmTextControl* entry);
    // A measured pressure shown read-only: only its unit label follows.
    void AddLabel(CDtmTextControl* field);
    // Anything else that shows the unit (a bar's range, a chart axis); called with the new code.
    void AddView(std::function<void(std::uint32_t unitCode)> apply);

    // Applies the code to everything added when it is a known unit other than the one shown;
    // answers whether it did.
    bool Follow(std::uint32_t unitCode);
    // The unit code the device reports under 'tag'; none when it cannot be read or is no number.
    static std::optional<std::uint32_t> ReadUnit(framework::IUIController* controller, const QString& tag);

    // The unit shown; none before the first known code when none was given.
    std::optional<std::uint32_t> Shown() const { return m_shown; }

private:
    void convertPendingEntry(CDtmTextControl& entry, std::uint32_t from, std::uint32_t to) const;

    std::optional<std::uint32_t> m_shown;
    std::vector<CDtmTextControl*> m_entries;
    std::vector<CDtmTextControl*> m_labels;
    std::vector<std::function<void(std::uint32_t)>> m_views;
};

}  // namespace orvx::controls
