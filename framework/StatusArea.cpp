#include "StatusArea.h"

#include "device/DeviceNames.h"
#include "frameworkapi/ITextResource.h"
#include "frameworkapi/TextIds.h"
#include "platform/ui/IconLibrary.h"
#include "platform/ui/ProblemText.h"
#include "platform/xml/XmlDocument.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStatusBar>

#include <utility>

namespace orvx::framework {

namespace {

enum PaneIndex {
    PaneConnection = 0,
    PaneCommunication = 1,
    PaneDataSource = 2,
    PaneDataSet = 3,
    PaneDeviceStatus = 6,
    PaneMessage = 8
};

// Pane widths in pixels; the last pane takes the rest of the bar.
constexpr std::array<int, CStatusArea::kPaneCount> kPaneWidths = {120, 24, 140, 24, 24, 24, 24, 24, -1};

constexpr int kNoText = -1;
constexpr std::uint32_t kCommunicatingIcon = 16;

// What one code of a pane shows.
struct Look {
    std::uint32_t icon;
    int textId;
};

Look connectionLook(int code)
{
    switch (code) {
    case ConnectionOnline: return {5, TextConnected};
    case ConnectionOffline: return {2, TextDisconnected};
    case ConnectionGoingOnline: return {4, kNoText};
    case ConnectionGoingOffline: return {3, kNoText};
    case ConnectionAborted: return {1, kNoText};
    default: return {0, kNoText};
    }
}

Look dataSetLook(int code)
{
    switch (code) {
    case DataSetDefault: return {0, TextDefault};
    case DataSetValidModified: return {31, TextValidModified};
    case DataSetInvalidModified: return {30, TextInvalidModified};
    case DataSetAllDataLoaded: return {0, TextAllDataLoaded};
    default: return {0, kNoText};
    }
}

Look dataSourceLook(int code)
{
    switch (code) {
    case 1: return {6, TextDataSet};
    case 2: return {7, TextDataSetLocked};
    case 3: return {8, TextDevice};
    case 4: return {9, TextDeviceLocked};
    default: return {0, kNoText};
    }
}

Look deviceStatusLook(int code)
{
    switch (code) {
    case 1: return {12, TextFailure};
    case 2: return {13, TextFunctionalCheck};
    case 3: return {35, TextOutOfTolerance};
    case 4: return {11, TextMaintenanceRequired};
    case 5: return {36, TextOk};
    default: return {0, kNoText};
    }
}

}  // namespace

CStatusArea::CStatusArea() = default;

CStatusArea::~CStatusArea()
{
    delete m_bar.data();
}

QStatusBar* CStatusArea::CreateWindow(QWidget* parent)
{
    if (m_bar)
        return m_bar;

    auto* bar = new QStatusBar(parent);
    bar->setObjectName(QStringLiteral("statusArea"));
    bar->setSizeGripEnabled(false);
    for (int i = 0; i < kPaneCount; ++i) {
        Pane& pane = m_panes[i];
        pane.frame = new QWidget(bar);
        pane.frame->setObjectName(QStringLiteral("pane_%1").arg(kFirstPaneId + i));
        auto* layout = new QHBoxLayout(pane.frame);
        layout->setContentsMargins(2, 0, 2, 0);
        layout->setSpacing(4);
        pane.icon = new QLabel(pane.frame);
        pane.icon->setObjectName(QStringLiteral("icon"));
        pane.icon->setFixedSize(16, 16);
        pane.label = new QLabel(pane.frame);
        pane.label->setObjectName(QStringLiteral("text"));
        pane.label->setTextFormat(Qt::PlainText);
        layout->addWidget(pane.icon);
        layout->addWidget(pane.label, 1);
        if (kPaneWidths[i] > 0)
            pane.frame->setFixedWidth(kPaneWidths[i]);
        bar->addWidget(pane.frame, kPaneWidths[i] > 0 ? 0 : 1);
    }
    m_warning = new QLabel(bar);
    m_warning->setObjectName(QStringLiteral("standingWarning"));
    m_warning->setTextFormat(Qt::PlainText);
    ui::showAsProblem(m_warning);
    bar->addPermanentWidget(m_warning);
    m_bar = bar;
    for (const Pane& pane : m_panes)
        render(pane);
    SetStandingWarning(m_warningText);
    bar->show();
    return bar;
}

void CStatusArea::SetTextProvider(ITextResource* texts)
{
    m_texts = texts;
}

int CStatusArea::Height() const
{
    return m_bar ? m_bar->sizeHint().height() : 0;
}

QString CStatusArea::PaneText(int pane) const
{
    return pane >= 0 && pane < kPaneCount ? m_panes[pane].text : QString();
}

QString CStatusArea::PaneToolTip(int pane) const
{
    return pane >= 0 && pane < kPaneCount ? m_panes[pane].toolTip : QString();
}

std::uint32_t CStatusArea::PaneIconId(int pane) const
{
    return pane >= 0 && pane < kPaneCount ? m_panes[pane].iconId : 0;
}

void CStatusArea::OnUpdate(std::int32_t code, const QString& text)
{
    if (code != device::code::StateDocument)
        return;
    const auto document = xml::XmlDocument::parse(text);
    if (!document)
        return;
    const QString state = document->textAt(QStringLiteral("//@state")).value_or(QString());
    if (!state.isEmpty())
        SetConnectionState(connectionStateOf(state));
    const QString dataSet = document->textAt(QStringLiteral("//@dataSetState")).value_or(QString());
    if (!dataSet.isEmpty())
        SetDataSetState(dataSetStateOf(dataSet));
    const QString communicating = document->textAt(QStringLiteral("//@isCommunicating")).value_or(QString());
    if (!communicating.isEmpty())
        SetCommunicating(communicating == QLatin1String("1"));
}

void CStatusArea::SetMessage(const QString& text)
{
    Pane& pane = m_panes[PaneMessage];
    pane.text = text;
    render(pane);
}

void CStatusArea::SetStandingWarning(const QString& text)
{
    m_warningText = text;
    if (!m_warning)
        return;
    m_warning->setText(text);
    m_warning->setToolTip(text);
    m_warning->setVisible(!text.isEmpty());
}

void CStatusArea::SetConnectionState(int code)
{
    const Look look = connectionLook(code);
    setPane(PaneConnection, look.icon, look.textId, kNoText);
}

void CStatusArea::SetDataSetState(int code)
{
    const Look look = dataSetLook(code);
    setPane(PaneDataSet, look.icon, kNoText, look.textId);
}

void CStatusArea::SetDataSource(int code)
{
    const Look look = dataSourceLook(code);
    setPane(PaneDataSource, look.icon, look.textId, kNoText);
}

void CStatusArea::SetDeviceStatus(int code)
{
    const Look look = deviceStatusLook(code);
    setPane(PaneDeviceStatus, look.icon, kNoText, look.textId);
}

void CStatusArea::SetCommunicating(bool communicating)
{
    if (communicating)
        setPane(PaneCommunication, kCommunicatingIcon, kNoText, TextCommunicationInProgress);
    else
        setPane(PaneCommunication, 0, kNoText, kNoText);
}

void CStatusArea::setPane(int index, std::uint32_t iconId, int textId, int toolTipId)
{
    // Texts first: should the provider fail, the pane stays as it was.
    QString text = textOf(textId);
    QString toolTip = textOf(toolTipId);
    Pane& pane = m_panes[index];
    pane.iconId = iconId;
    pane.text = std::move(text);
    pane.toolTip = std::move(toolTip);
    render(pane);
}

QString CStatusArea::textOf(int textId) const
{
    return textId >= 0 && m_texts ? m_texts->GetTextById(static_cast<std::uint32_t>(textId)) : QString();
}

void CStatusArea::render(const Pane& pane) const
{
    if (!m_bar || !pane.frame)
        return;
    // A missing icon shows as no icon.
    const QIcon icon = pane.iconId ? ui::GetIcon(pane.iconId) : QIcon();
    pane.icon->setPixmap(icon.isNull() ? QPixmap() : icon.pixmap(16, 16));
    pane.label->setText(pane.text);
    pane.frame->setToolTip(pane.toolTip);
}

}  // namespace orvx::framework
