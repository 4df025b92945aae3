#pragma once

#include "controls/IFdtControl.h"
#include "platform/xml/XmlDocument.h"

#include <QList>
#include <QWidget>

namespace orvx::test {

// A data-bound control that does nothing but record what its page asked of it.
class FakeControl : public controls::IFdtControl {
public:
    explicit FakeControl(std::int32_t controlId, QString tag = {}, QWidget* window = nullptr)
        : m_controlId(controlId), m_tag(std::move(tag)), m_window(window)
    {
    }

    int refreshes = 0;
    int configures = 0;
    int appliedEnabled = 0;
    QList<bool> modeEnables;
    std::int32_t viewId = -1;
    QString caption;
    QString validationMessage;
    QString lastConfiguredValue;  // "./@value" of the last Configure

    void SetCaption(const QString& text) override { caption = text; }
    QString GetTypeName() const override { return QStringLiteral("FakeControl"); }
    std::int32_t GetControlId() const override { return m_controlId; }
    const QString& GetTag() const override { return m_tag; }
    void SetViewId(std::int32_t id) override { viewId = id; }
    void Refresh() override { ++refreshes; }
    void Configure(const xml::XmlNode& controlData) override
    {
        ++configures;
        m_tag = controlData.textAt(QStringLiteral("./@tag")).value_or(m_tag);
        lastConfiguredValue = controlData.textAt(QStringLiteral("./@value")).value_or(QString());
    }
    std::int32_t GetIndicatorState() const override { return 0; }
    void ApplyEnabled() override { ++appliedEnabled; }
    void EnableForMode(bool enable) override { modeEnables.append(enable); }
    QWidget* GetEditWindow() const override { return m_window; }
    bool HasWidget() const override { return m_window != nullptr; }
    QString GetValidationMessage() const override { return validationMessage; }

private:
    std::int32_t m_controlId;
    QString m_tag;
    QWidget* m_window;
};

}  // namespace orvx::test
