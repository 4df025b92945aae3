#include "DgnCommands.h"
#include "store/DataFileImport.h"
#include "store/DataFileScan.h"
#include "store/PlantStore.h"

namespace orvx::tools {

namespace {

QString whoImports()
{
    const QString user = qEnvironmentVariable("USER", QStringLiteral("unknown"));
    return QStringLiteral("%1, imported by orvx-dgn").arg(user);
}

}  // namespace

int importRecords(const QString& path, const QString& storeAddress, std::ostream& out, std::ostream& err)
{
    QString error;
    const std::optional<store::StoreAddress> address = store::parseStoreAddress(storeAddress, &error);
    std::unique_ptr<store::PlantStore> plant = address ? store::PlantStore::open(*address, &error) : nullptr;
    if (!plant) {
        err << "orvx-dgn: " << error.toStdString() << '\n';
        return kExitFailure;
    }
    // The one reading of the clock: a command run by hand keeps when it ran.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    store::ImportCount count;
    try {
        count = store::importDataFile(*plant, path, whoImports(), now);
    } catch (const store::DataFileError& failure) {
        err << "orvx-dgn: " << path.toLocal8Bit().toStdString() << ": " << failure.what() << '\n';
        return kExitFailure;
    }
    for (const QString& problem : count.problems + count.failures)
        err << path.toLocal8Bit().toStdString() << ": " << problem.toStdString() << '\n';
    out << count.kept << " kept, " << count.already << " already in " << plant->address().text().toStdString() << ", "
        << count.failures.size() << " not kept\n";
    if (!count.failures.isEmpty())
        return kExitFailure;
    return count.problems.isEmpty() ? kExitOk : kExitProblems;
}

}  // namespace orvx::tools
