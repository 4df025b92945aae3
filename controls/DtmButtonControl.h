#pragma once

#include "DtmControlBase.h"

#include <QPointer>

#include <functional>

class QPushButton;

namespace orvx::controls {

// A push button that sends a command for its tag when clicked. Pages use tag 0 for commands of
// their own.
class CDtmButtonControl : public CDtmControlBase {
public:
    // Runs first on a click and answers whether the click goes on to the command.
    using ClickFilter = std::function<bool()>;

    using CDtmControlBase::CDtmControlBase;

    void Attach(QPushButton* button);
    // Replaces the filter; an empty one lets every click through.
    void SetClickFilter(ClickFilter filter) { m_clickFilter = std::move(filter); }

    void SetCaption(const QString& text) override;
    QString GetTypeName() const override { return QStringLiteral("FdtButtonControl"); }
    // Tooltip, enabled (then ApplyEnabled), tag.
    void Configure(const xml::XmlNode& controlData) override;
    // A button reads nothing.
    void Refresh() override {}
    // Enabled when the enabled setting holds and the user may write.
    void ApplyEnabled() override;

protected:
    QList<QWidget*> boundWindows() const override;

private:
    void onClicked();

    QPointer<QPushButton> m_button;
    ClickFilter m_clickFilter;
};

}  // namespace orvx::controls
