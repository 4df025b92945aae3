#pragma once

class QPushButton;
class QString;
class QVBoxLayout;
class QWidget;

namespace orvx::xml {
class XmlDocument;
}

namespace orvx::framework {

class CPageFields;
class IHeaderPage;

// The data-bound controls of the header every page carries: tag, device id, active mode,
// descriptor and final assembly number (controls 3 to 7), "Mode to set" (8) and Apply Mode (9).
class CPageHeader {
public:
    // The header's dialog items that others need: "Mode to set" and Apply Mode.
    static constexpr int kModeToSetItem = 201;
    static constexpr int kModeButtonItem = 202;

    // Makes the header's widgets (items 201 to 205, 207 and 295) with their captions as fields
    // of 'fields' and lays them out in 'layout'; answers the Apply Mode button.
    static QPushButton* BuildWidgets(CPageFields& fields, QWidget* surface, QVBoxLayout* layout);

    // Binds the seven controls to the header's widgets, registers them on the page and gives
    // them the header's settings; a page's own ViewSetting may override them afterwards.
    static void CreateControls(IHeaderPage& page);

    // The settings of the header's controls, as every page's ViewSetting carries them.
    static const xml::XmlDocument& ViewSetting();

    // Apply Mode was pressed: asks the device for the mode change as the page's operation
    // (method::ModeChange, expecting code::ModeChanged). A press that changes nothing, or that
    // the user declines, sends nothing. Answers false: the press never goes on to the button's
    // own command.
    static bool ApplyModePressed(IHeaderPage& page);
};

}  // namespace orvx::framework
