// A diagnostic data file as the record picker meets it: opened for reading, its version
// checked, its records listed, then each listed record read. Every listed record must read,
// as what its key says it is.
#include "FuzzSupport.h"
#include "FuzzText.h"
#include "diagnostics/NvEsdDataFileSvr.h"

using namespace orvx::diagnostics;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const orvx::fuzz::ScratchFile file(".dgn");
    file.write(data, size);

    CNvEsdDataFileSvr server;
    if (server.OpenFile(QString::fromStdString(file.path()), OpenPurpose::Load) || !server.CheckVersion())
        return 0;
    const QList<RecordKey> keys = server.ListRecords();
    for (const QString& problem : server.Problems())
        if (!problem.startsWith(QLatin1String("line ")))
            std::abort();  // every problem names its line
    for (const RecordKey& key : keys) {
        const std::optional<DiagRecord> record = server.ReadRecord(key);
        if (!record)
            std::abort();
        if ((key.kind == QLatin1String("PST")) != (record->kind == DiagKind::Pst))
            std::abort();
        // The key holds the tag's first field, padded; the record the whole tag.
        QString keyTag = key.tag;
        while (keyTag.endsWith(QLatin1Char(' ')))
            keyTag.chop(1);
        if (!record->tag.startsWith(keyTag))
            std::abort();
        if (record->curve1.position.size() != record->curve1.pressure.size() ||
            record->curve2.position.size() != record->curve2.pressure.size())
            std::abort();
    }
    return 0;
}
