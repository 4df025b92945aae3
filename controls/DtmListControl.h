#pragma once

#include "DtmControlBase.h"

#include <QIcon>
#include <QList>
#include <QPointer>
#include <QStringList>

class QTreeWidget;

namespace orvx::controls {

// A report-style list of the named bits of a byte string (the device's fault flags, say): the
// bits that are set come first, each with a red dot; the others follow with a grey one.
class CDtmListControl : public CDtmControlBase {
public:
    using CDtmControlBase::CDtmControlBase;

    void Attach(QTreeWidget* list);

    QString GetTypeName() const override { return QStringLiteral("DtmListControl"); }
    // Takes the entries of the first ListCollection of the whole document (those tagged "-1"
    // left out; the tag is the bit number), all inactive, then "./@tag".
    void Configure(const xml::XmlNode& controlData) override;
    // Reads the byte string: byte i, bit b (0 least significant) is bit number i*8+b+1. A reply
    // that is not a byte string changes nothing.
    void Refresh() override;
    void ApplyEnabled() override {}

    // Whether an entry with that bit number is listed as active.
    bool IsActive(int bitNumber) const;
    // The rows' captions, top to bottom.
    QStringList RowCaptions() const;

protected:
    QList<QWidget*> boundWindows() const override;

private:
    struct Item {
        QString caption;
        int bitNumber = 0;
        bool active = false;
    };

    void sortAndShow();
    // Whether both list the same entries in the same order, whatever is active.
    static bool sameEntries(const QList<Item>& a, const QList<Item>& b);

    QPointer<QTreeWidget> m_list;
    QList<Item> m_items;       // as shown: the active first
    QList<Item> m_configured;  // as the settings list them
    QIcon m_activeIcon;
    QIcon m_inactiveIcon;
};

}  // namespace orvx::controls
