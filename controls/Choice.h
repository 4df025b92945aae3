#pragma once

#include <QList>
#include <QString>

#include <cstdint>

namespace orvx::controls {

// One entry of a combo box: what it shows, the value written for it, and a number (0 for
// entries from the ViewSetting; a receiver may set it).
struct CChoice {
    QString caption;
    QString tag;
    std::int32_t number = 0;

    friend bool operator==(const CChoice&, const CChoice&) = default;
};

// The choices of a combo box in order, and the index of the current one (-1 for none).
struct CChoiceList {
    QList<CChoice> choices;
    std::int32_t current = -1;

    friend bool operator==(const CChoiceList&, const CChoiceList&) = default;
};

}  // namespace orvx::controls
