#include "DtmListControl.h"

#include "Conversions.h"
#include "UIEventsImpl.h"
#include "device/StringBridge.h"
#include "platform/ui/Colours.h"
#include "platform/xml/XmlDocument.h"

#include <QHeaderView>
#include <QPainter>
#include <QPixmap>
#include <QTreeWidget>

#include <algorithm>

namespace orvx::controls {

namespace {

// What the second column says of an active fault.
const QString kActive = QStringLiteral("active");

QIcon dotIcon(const QColor& colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(colour.darker(150));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(3.5, 3.5, 9, 9));
    return QIcon(pixmap);
}

}  // namespace

QList<QWidget*> CDtmListControl::boundWindows() const
{
    return {m_list.data()};
}

void CDtmListControl::Attach(QTreeWidget* list)
{
    m_list = list;
    if (!list)
        return;
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    // The dot says a fault's state at a glance; the second column says it in words.
    list->setColumnCount(2);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    // The second column says "active" or nothing: as wide as a row showing that word, measured
    // once here rather than row by row whenever the list changes.
    auto* probe = new QTreeWidgetItem(list, {QString(), kActive});
    const int stateWidth = static_cast<QAbstractItemView*>(list)->sizeHintForColumn(1);
    delete probe;
    list->header()->setSectionResizeMode(1, QHeaderView::Fixed);
    list->header()->resizeSection(1, stateWidth);
    // Every row is one line with a dot: the view measures one row for all, not each of them.
    list->setUniformRowHeights(true);
    m_activeIcon = dotIcon(QColor(220, 0, 0));
    m_inactiveIcon = dotIcon(QColor(160, 160, 160));
}

void CDtmListControl::Configure(const xml::XmlNode& controlData)
{
    try {
        // The collection is looked for in the whole document, not only under this element.
        if (const xml::XmlNode collection = controlData.selectSingleNode(QStringLiteral("//ListCollection"))) {
            QList<Item> items;
            bool whole = true;
            try {
                for (const xml::XmlNode& entry : collection.descendants("List")) {
                    const char* tag = entry.attributeUtf8("tag");
                    const QUtf8StringView number(tag ? tag : "");
                    if (number == QUtf8StringView("-1"))
                        continue;
                    items.append(
                        {entry.attribute("caption").value_or(QString()), CConversions::to_long(number, 10), false});
                }
            } catch (const std::exception&) {
                // A malformed entry ends the configuration there; the entries read so far are listed.
                whole = false;
            }
            // The same entries again (a page's settings applied once more) keep the rows, and
            // which of them are active, as they are.
            if (!sameEntries(items, m_configured)) {
                m_configured = items;
                m_items = std::move(items);
                sortAndShow();  // the captions' column stretches to the list's width
            }
            if (!whole)
                return;
        }
        readTag(controlData);
    } catch (const std::exception&) {
        // A malformed attribute ends the configuration here; the later ones keep their values.
    }
}

bool CDtmListControl::sameEntries(const QList<Item>& a, const QList<Item>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const Item& x, const Item& y) {
        return x.caption == y.caption && x.bitNumber == y.bitNumber;
    });
}

void CDtmListControl::Refresh()
{
    CGenericGetEventImpl event(GetViewId(), GetControlId(), GetTag());
    if (!dispatch(event))
        return;
    takeEventError(event);
    std::vector<std::uint8_t> bytes;
    try {
        // Spaces are not taken out: a reply with spaces is not a byte string.
        bytes = CConversions::to_byte_array(device::variantText(event.GetValue()), false);
    } catch (const std::exception&) {
        return;
    }
    bool changed = false;
    for (Item& item : m_items) {
        const int bit = item.bitNumber - 1;
        if (bit < 0 || static_cast<std::size_t>(bit / 8) >= bytes.size())
            continue;  // not covered by this reply: as before
        const bool active = (bytes[static_cast<std::size_t>(bit / 8)] >> (bit % 8)) & 1;
        changed = changed || active != item.active;
        item.active = active;
    }
    if (changed)
        sortAndShow();
}

bool CDtmListControl::IsActive(int bitNumber) const
{
    return std::any_of(m_items.begin(), m_items.end(),
                       [bitNumber](const Item& item) { return item.bitNumber == bitNumber && item.active; });
}

QStringList CDtmListControl::RowCaptions() const
{
    QStringList captions;
    if (m_list)
        for (int row = 0; row < m_list->topLevelItemCount(); ++row)
            captions.append(m_list->topLevelItem(row)->text(0));
    return captions;
}

void CDtmListControl::sortAndShow()
{
    std::stable_sort(m_items.begin(), m_items.end(),
                     [](const Item& a, const Item& b) { return a.active && !b.active; });
    if (!m_list)
        return;
    while (m_list->topLevelItemCount() > m_items.size())
        delete m_list->takeTopLevelItem(m_list->topLevelItemCount() - 1);
    while (m_list->topLevelItemCount() < m_items.size())
        m_list->addTopLevelItem(new QTreeWidgetItem);
    for (qsizetype row = 0; row < m_items.size(); ++row) {
        QTreeWidgetItem* line = m_list->topLevelItem(static_cast<int>(row));
        const bool active = m_items[row].active;
        line->setText(0, m_items[row].caption);
        line->setIcon(0, active ? m_activeIcon : m_inactiveIcon);
        line->setText(1, active ? kActive : QString());
        line->setForeground(1, ui::kWarningColour);
    }
}

}  // namespace orvx::controls
