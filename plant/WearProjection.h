#pragma once

#include "diagnostics/PstGrading.h"
#include "store/PlantStore.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace orvx::plant {

// The PST limits a device is configured with, and the pressure unit they are given in (its
// measured pressure unit), so that tests kept in another unit are held to them rightly.
struct WearLimits {
    diagnostics::PstLimits limits;
    std::uint32_t unit = 6;  // psi
};

// The wear projection of one valve from its kept records (PSTs are taken, other records left
// out; any order) by the rule of the PST history window: the first of friction, breakaway,
// droop and spring range whose projection is shown, as "friction reaches the high limit around
// 2027-05"; empty when none is (too few tests, too short a span, a scatter, no limit ahead).
QString wearProjection(const QList<store::StoredRecord>& tests, const WearLimits& limits);

// Friction, breakaway and droop of the last PST against the baseline PST, one line each as the
// PST summary shows them: "Friction 12.3 psi, +38 % since 2026-01-10" (the baseline's UTC date).
// Empty when either record is not a PST.
QStringList wearAgainstBaseline(const store::StoredRecord& last, const store::StoredRecord& baseline);

}  // namespace orvx::plant
