#include "DtmComboBoxControl.h"

#include "BlockEvents.h"
#include "UIEventsImpl.h"
#include "frameworkapi/IApplicationView.h"
#include "platform/ui/IconLibrary.h"
#include "platform/ui/PostCall.h"
#include "platform/xml/XmlDocument.h"

#include <QComboBox>
#include <QLabel>

#include <algorithm>

namespace orvx::controls {

namespace {

std::uint32_t iconOf(std::int32_t state)
{
    switch (state) {
    case IndicatorUnavailable: return 29;
    case IndicatorReadOnly: return 16;
    case IndicatorInvalid: return 30;
    case IndicatorModified: return 31;
    default: return 34;
    }
}

// The combo box's own enabled flag, whatever its ancestors' state.
bool ownEnabled(const QComboBox& combo)
{
    return !combo.testAttribute(Qt::WA_ForceDisabled);
}

// Whether the ChoiceCollection's entries are the choices held already: a page's settings applied
// again bring the same ones, which need no converting.
bool sameChoices(const QList<xml::XmlNode>& entries, const QList<CChoice>& choices)
{
    const auto same = [](const char* utf8, const QString& text) {
        return QAnyStringView::equal(text, QUtf8StringView(utf8 ? utf8 : ""));
    };
    if (entries.size() != choices.size())
        return false;
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (choices[i].number != 0 || !same(entries[i].attributeUtf8("caption"), choices[i].caption) ||
            !same(entries[i].attributeUtf8("tag"), choices[i].tag))
            return false;
    return true;
}

}  // namespace

CDtmComboBoxControl::CDtmComboBoxControl(std::int32_t controlId, framework::IApplicationView* page,
                                         framework::IUIController* controller)
    : CDtmControlBase(controlId, page, controller)
{
}

CDtmComboBoxControl::~CDtmComboBoxControl() = default;

QString CDtmComboBoxControl::GetTypeName() const
{
    return QStringLiteral("FdtComboBoxControl");
}

QList<QWidget*> CDtmComboBoxControl::modeWindows() const
{
    return {m_combo.data()};
}

void CDtmComboBoxControl::Attach(QLabel* caption, QLabel* icon, QComboBox* combo, QLabel* valueLabel)
{
    m_caption = caption;
    m_icon = icon;
    m_combo = combo;
    m_valueLabel = valueLabel;
    if (!combo)
        return;
    // 'activated' comes from the user only; the control's own writes raise no selection.
    connect(combo, &QComboBox::activated, this,
            [this](int index) { ui::runGuarded("combo box selection", [&] { OnSelectionChanged(index); }); });
}

void CDtmComboBoxControl::SetCaption(const QString& text)
{
    if (m_caption)
        m_caption->setText(text);
}

void CDtmComboBoxControl::Configure(const xml::XmlNode& controlData)
{
    CBlockEvents block(m_blocked);
    try {
        configureSteps(controlData);
    } catch (const std::exception&) {
        // A malformed attribute ends the configuration here; the later ones keep their values.
    }
}

void CDtmComboBoxControl::configureSteps(const xml::XmlNode& element)
{
    if (const auto collection = element.descendant("ChoiceCollection")) {
        const QList<xml::XmlNode> entries = collection.descendants("Choice");
        if (!sameChoices(entries, m_choices.choices)) {
            m_choices = {};
            for (const auto& choice : entries)
                m_choices.choices.append(
                    {choice.attribute("caption").value_or(QString()), choice.attribute("tag").value_or(QString()), 0});
        }
        fillCombo();
    }
    readAvailable(element);
    readTag(element);
    // An unavailable parameter shows no choice whatever its value.
    std::int32_t index = -1;
    if (IsAvailable()) {
        if (const auto value = attribute(element, "value")) {
            for (qsizetype i = 0; i < m_choices.choices.size(); ++i) {
                if (m_choices.choices[i].tag == *value) {
                    index = static_cast<std::int32_t>(i);
                    break;
                }
            }
        }
    }
    select(index);
    readToolTip(element, m_combo);
    readModeUi(element);
    updateIndicator();
}

void CDtmComboBoxControl::fillCombo()
{
    if (!m_combo)
        return;
    // The same choices again (a page's settings applied once more) leave the list as it is.
    bool same = m_combo->count() == m_choices.choices.size();
    for (qsizetype i = 0; same && i < m_choices.choices.size(); ++i)
        same = m_combo->itemText(static_cast<int>(i)) == m_choices.choices[i].caption;
    if (same)
        return;
    m_combo->clear();
    for (const CChoice& choice : m_choices.choices)
        m_combo->addItem(choice.caption);
    // The drop-down shows every choice without scrolling.
    m_combo->setMaxVisibleItems(std::max(1, m_combo->count()));
}

void CDtmComboBoxControl::select(std::int32_t index)
{
    if (index < 0 || index >= m_choices.choices.size())
        index = -1;
    m_choices.current = index;
    if (m_combo)
        m_combo->setCurrentIndex(index);
}

void CDtmComboBoxControl::ApplyEnabled()
{
    if (!m_combo)
        return;
    m_combo->setEnabled(mayEdit() && !m_readOnly);
    m_lockedByFailedRead = false;
}

void CDtmComboBoxControl::EnableForMode(bool enable)
{
    if (TakesPartInModeRules())
        m_lockedByFailedRead = false;
    CDtmControlBase::EnableForMode(enable);
}

void CDtmComboBoxControl::Refresh()
{
    CBlockEvents block(m_blocked);
    CComboBoxGetEventImpl event(GetViewId(), GetControlId(), GetTag());
    // The receiver sees the widget's state as the page left it, not a lock of a failed read.
    if (m_combo)
        event.SetEnabled(m_lockedByFailedRead ? m_enabledBeforeLock : ownEnabled(*m_combo));
    event.SetChoices(m_choices);
    event.SetCaption(m_valueLabel ? m_valueLabel->text() : QString());
    if (dispatch(event)) {
        takeEventError(event);
        m_lockedByFailedRead = false;
        if (m_valueLabel)
            m_valueLabel->setText(event.GetCaption());
        m_readOnly = event.IsReadOnly();
        if (m_combo)
            m_combo->setEnabled(event.IsEnabled() && !m_readOnly && mayEdit());
        const CChoiceList reply = event.GetChoices();
        if (event.AreChoicesGiven() && reply.choices != m_choices.choices) {
            m_choices.choices = reply.choices;
            fillCombo();
        }
        select(reply.current);
        if (event.HasDeviceIndex()) {
            m_deviceIndex = m_choices.current;
            m_hasDeviceIndex = true;
        }
    } else {
        select(-1);
        if (m_combo) {
            if (!m_lockedByFailedRead)
                m_enabledBeforeLock = ownEnabled(*m_combo);
            m_lockedByFailedRead = true;
            m_combo->setEnabled(false);
        }
    }
    updateIndicator();
}

void CDtmComboBoxControl::OnSelectionChanged(int index)
{
    if (m_blocked || index < 0 || index >= m_choices.choices.size())
        return;
    m_choices.current = index;
    CComboBoxSetEventImpl event(GetViewId(), GetControlId(), GetTag(), index, m_choices.choices[index]);
    dispatch(event);
    takeEventError(event);
    updateIndicator();
}

bool CDtmComboBoxControl::IsModified() const
{
    return IsModifiedFlag() || (m_hasDeviceIndex && m_deviceIndex != m_choices.current);
}

void CDtmComboBoxControl::updateIndicator()
{
    std::int32_t state = IndicatorNormal;
    if (!IsAvailable())
        state = IndicatorUnavailable;
    else if (m_readOnly)
        state = IndicatorReadOnly;
    else if (HasSemanticError())
        state = IndicatorInvalid;
    else if (IsModified())
        state = IndicatorModified;

    if (m_icon) {
        m_icon->setPixmap(ui::GetIcon(iconOf(state)).pixmap(16, 16));
        if (page()) {
            if (state == IndicatorInvalid && !SemanticErrorText().isEmpty())
                page()->SetToolTip(m_icon, SemanticErrorText());
            else
                page()->RemoveToolTip(m_icon);
        }
    }
    if (state != GetIndicatorState()) {
        setIndicatorState(state);
        if (page())
            page()->OnControlStateChanged(GetControlId());
    }
}

}  // namespace orvx::controls
