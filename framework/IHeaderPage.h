#pragma once

#include <QString>

#include <cstdint>

class QWidget;

namespace orvx::xml {
class XmlDocument;
}

namespace orvx::framework {

class CPageFields;
class IUIController;

// What the common page header (CPageHeader) needs of its page.
class IHeaderPage {
public:
    virtual ~IHeaderPage() = default;
    // The header's fields, made with the page.
    virtual CPageFields& HeaderFields() const = 0;
    // The controller: the device's mode and whether a question may be asked; none before the
    // page has one.
    virtual IUIController* Controller() const = 0;
    // The window a question about leaving or entering Normal belongs to.
    virtual QWidget* GetWindow() const = 0;
    // Configures the page's controls from a parsed ViewSetting.
    virtual void ApplyViewSettingDocument(const xml::XmlDocument& viewSetting) = 0;
    // Starts the device method of a button as the page's operation (see CApplicationViewBase).
    virtual bool StartOperation(std::int32_t buttonControlId, int method, const QString& progressText,
                                std::uint8_t usableWhileRunning) = 0;
};

}  // namespace orvx::framework
