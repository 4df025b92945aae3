#include "DtmTextControl.h"

#include "BlockEvents.h"
#include "Conversions.h"
#include "UIEventsImpl.h"
#include "ValidatorFactory.h"
#include "ValidatorMessage.h"
#include "device/StringBridge.h"
#include "frameworkapi/IApplicationView.h"
#include "frameworkapi/IUIController.h"
#include "frameworkapi/TextIds.h"
#include "platform/ui/IconLibrary.h"
#include "platform/ui/PostCall.h"
#include "platform/ui/ReadOnlyLook.h"
#include "platform/xml/XmlDocument.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace orvx::controls {

namespace {

constexpr std::uint32_t kIconUnavailable = 29;
constexpr std::uint32_t kIconInvalid = 30;
constexpr std::uint32_t kIconModified = 31;
constexpr std::uint32_t kIconNormal = 34;

const QColor kInvalidText(255, 0, 0);

QString withoutTrailingSpaces(QString text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    text.truncate(end);
    return text;
}

}  // namespace

CDtmTextControl::CDtmTextControl(std::int32_t controlId, framework::IApplicationView* page,
                                 framework::IUIController* controller)
    : CDtmControlBase(controlId, page, controller)
{
}

CDtmTextControl::~CDtmTextControl() = default;

QString CDtmTextControl::GetTypeName() const
{
    return QStringLiteral("DtmTextControl");
}

QWidget* CDtmTextControl::GetEditWindow() const
{
    return m_edit.data();
}

QList<QWidget*> CDtmTextControl::modeWindows() const
{
    return {m_edit.data()};
}

void CDtmTextControl::Attach(QLabel* icon, QLineEdit* edit, QLabel* unit)
{
    m_icon = icon;
    m_edit = edit;
    m_unit = unit;
    if (!edit)
        return;
    // Only a palette the page set itself is kept; otherwise the edit inherits again when valid.
    m_ownPalette = edit->testAttribute(Qt::WA_SetPalette) ? edit->palette() : QPalette();
    edit->installEventFilter(this);
    // textChanged also follows the control's own writes; Configure and Refresh settle the
    // modified flag afterwards.
    connect(edit, &QLineEdit::textChanged, this,
            [this] { ui::runGuarded("text field change", [this] { OnTextChanged(); }); });
    if (m_stringLength >= 0)
        SetStringLength(m_stringLength);
}

void CDtmTextControl::Configure(const xml::XmlNode& controlData)
{
    CBlockEvents block(m_blocked);
    try {
        configureSteps(controlData);
    } catch (const std::exception&) {
        // A malformed attribute ends the configuration here; the later ones keep their values.
    }
}

void CDtmTextControl::configureSteps(const xml::XmlNode& element)
{
    SetValidator(CValidatorFactory::CreateValidator(element, controller() ? controller()->GetTextResource() : nullptr));
    readAvailable(element);
    if (const char* value = element.attributeUtf8("value"); value && m_edit) {
        // The text the field holds already stays as it is, caret and undo steps included.
        if (!QAnyStringView::equal(m_edit->text(), QUtf8StringView(value)))
            m_edit->setText(QString::fromUtf8(value));
        m_edit->setModified(false);
    }
    readTag(element);
    readSemanticError(element);
    if (readInto(element, "unit", m_unitText))
        SetUnitText(m_unitText);
    readInto(element, "label", m_label);
    readToolTip(element, m_edit);
    readEnabled(element);
    // After the value: writing it raised a text change, which marked the control modified.
    readModified(element);
    if (const char* length = element.attributeUtf8("stringLength"))
        SetStringLength(CConversions::to_long(QUtf8StringView(length), 10));
    const char* visible = element.attributeUtf8("visible");
    Show(visible ? CConversions::to_bool(QUtf8StringView(visible)) : true);
    if (const char* upper = element.attributeUtf8("forceupper"))
        m_forceUpper = CConversions::to_bool(QUtf8StringView(upper));
    readModeUi(element);
    UpdateIndicator();
}

void CDtmTextControl::SetStringLength(std::int32_t length)
{
    if (length < 0)
        return;
    m_stringLength = length;
    if (!m_edit)
        return;
    if (m_edit->text().size() > length) {
        m_edit->setText(m_edit->text().left(length));
        m_edit->setCursorPosition(length);  // the line edit scrolls the caret into view
    }
    m_edit->setMaxLength(length);
}

void CDtmTextControl::Show(bool visible)
{
    for (QWidget* window : {static_cast<QWidget*>(m_edit.data()), static_cast<QWidget*>(m_unit.data()),
                            static_cast<QWidget*>(m_icon.data())})
        if (window)
            window->setVisible(visible);
}

void CDtmTextControl::SetUnitText(const QString& text)
{
    if (m_unit)
        m_unit->setText(text);
}

void CDtmTextControl::SetValidator(std::unique_ptr<IValidator> validator)
{
    m_validator = std::move(validator);
}

void CDtmTextControl::SetValidatorUnit(std::uint32_t unitCode)
{
    if (m_validator)
        m_validator->SetUnit(unitCode);
    UpdateIndicator();
}

QString CDtmTextControl::ShownUnit() const
{
    return m_unit ? m_unit->text() : QString();
}

void CDtmTextControl::ApplyEnabled()
{
    if (!m_edit)
        return;
    m_edit->setReadOnly(!mayEdit());
    m_lockedByFailedRead = false;
}

void CDtmTextControl::Refresh()
{
    CBlockEvents block(m_blocked);
    CTextDataGetEventImpl event(GetViewId(), GetControlId(), GetTag());
    if (dispatch(event)) {
        takeEventError(event);
        QString value = event.GetValue();
        // An empty answer leaves the text shown before.
        if (!value.isEmpty() && m_edit) {
            // A fixed-length device text comes padded with spaces.
            if (m_stringLength != -1)
                value = withoutTrailingSpaces(value);
            m_edit->setText(value);
        }
        if (m_edit)
            m_edit->setModified(false);
        setModified(false);
        // A field locked because its value could not be read is unlocked once it can.
        if (m_lockedByFailedRead)
            ApplyEnabled();
    } else if (m_edit) {
        m_edit->setText(QString());
        m_edit->setReadOnly(true);
        m_lockedByFailedRead = true;
    }
    UpdateIndicator();
}

void CDtmTextControl::OnTextChanged()
{
    setModified(true);
    UpdateIndicator();
    if (m_validator && m_edit)
        m_edit->update();
}

void CDtmTextControl::OnKeyUp(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        Commit();
}

void CDtmTextControl::OnFocusLost()
{
    Commit();
    for (const auto& check : m_leaveChecks)
        check();
}

void CDtmTextControl::AddLeaveCheck(std::function<void()> check)
{
    if (check)
        m_leaveChecks.push_back(std::move(check));
}

void CDtmTextControl::Commit()
{
    if (!controller() || m_blocked || !m_edit || !m_edit->isModified())
        return;
    QString text = m_edit->text();
    if (m_forceUpper)
        text = text.toUpper();
    const bool valid = Validate();
    if (valid) {
        CTextDataSetEventImpl event(GetViewId(), GetControlId(), GetTag(), text, true);
        const bool handled = dispatch(event);
        takeEventError(event);
        // The entry is written: Enter followed by leaving the field must not write it twice.
        // The modified flag (and its icon) stays until the next Refresh reads the device.
        if (handled && !event.IsError() && m_edit)
            m_edit->setModified(false);
        UpdateIndicator();
    }
    if (m_validator && !m_label.isEmpty() && page())
        page()->OnControlValidated(this, valid);
}

bool CDtmTextControl::Validate()
{
    bool valid = true;
    if (m_validator) {
        const QString text = m_edit ? m_edit->text() : QString();
        // An empty field is an empty text, not a missing one.
        valid = m_validator->Validate(device::textVariant(text.isNull() ? QStringLiteral("") : text));
        m_validationMessage = valid ? QString() : m_validator->GetMessage();
    } else {
        m_validationMessage.clear();
    }
    if (valid != m_valid) {
        m_valid = valid;
        applyColours();
    }
    return valid;
}

void CDtmTextControl::applyColours()
{
    if (!m_edit)
        return;
    QPalette palette = m_ownPalette;
    if (!m_valid) {
        // A disabled field keeps its default colours: only the active groups are painted.
        const QBrush background = controller() ? controller()->GetBackgroundBrush() : QBrush();
        for (const auto group : {QPalette::Active, QPalette::Inactive}) {
            palette.setColor(group, QPalette::Text, kInvalidText);
            if (background.style() != Qt::NoBrush)
                palette.setBrush(group, QPalette::Base, background);
        }
    } else if (m_edit->isReadOnly() && !m_ownPalette.isBrushSet(QPalette::Active, QPalette::Base)) {
        for (const auto group : {QPalette::Active, QPalette::Inactive})
            palette.setBrush(group, QPalette::Base, ui::readOnlyBackground(m_edit));
    }
    m_applyingColours = true;
    m_edit->setPalette(palette);
    m_applyingColours = false;
}

QString CDtmTextControl::GetLabelledMessage() const
{
    if (!m_validator || m_validationMessage.isEmpty())
        return m_validationMessage;
    const std::uint32_t code = m_validator->GetErrorCode();
    if (code == framework::TextValueOutOfRange)
        return fillPlaceholder(m_validationMessage, QStringLiteral("Numeric"), m_label);
    if (code == framework::TextNotWholeNumber || code == framework::TextNotFloatingNumber ||
        code == framework::TextNotDivisible)
        return fillPlaceholder(m_validationMessage, QStringLiteral("Input"), m_label);
    return m_validationMessage;
}

void CDtmTextControl::UpdateIndicator()
{
    if (!m_icon)
        return;
    if (!IsAvailable())
        showIcon(kIconUnavailable, {});
    else if (!Validate())
        showIcon(kIconInvalid, m_validationMessage);
    else if (HasSemanticError())
        showIcon(kIconInvalid, SemanticErrorText());
    else
        showIcon(IsModifiedFlag() ? kIconModified : kIconNormal, {});
}

void CDtmTextControl::showIcon(std::uint32_t id, const QString& tip)
{
    if (id != m_shownIcon) {
        m_shownIcon = id;
        m_icon->setPixmap(ui::GetIcon(id).pixmap(16, 16));
    }
    if (!page())
        return;
    if (tip.isEmpty())
        page()->RemoveToolTip(m_icon);
    else
        page()->SetToolTip(m_icon, tip);
}

bool CDtmTextControl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && event) {
        if (event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            // A held key repeats its release; the entry is committed once, when it is let go.
            if (!key->isAutoRepeat())
                ui::runGuarded("text field key", [&] { OnKeyUp(key->key()); });
        } else if (ui::followsLook(*event) && !m_applyingColours) {
            ui::runGuarded("text field look", [this] { applyColours(); });
        } else if (event->type() == QEvent::FocusOut) {
            // The field's own context menu takes the focus without the user leaving the field.
            if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
                ui::runGuarded("text field focus lost", [this] { OnFocusLost(); });
        }
    }
    return CDtmControlBase::eventFilter(watched, event);
}

}  // namespace orvx::controls
