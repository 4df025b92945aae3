#include "IStatusArea.h"

namespace orvx::framework {

int connectionStateOf(const QString& word)
{
    if (word == QLatin1String("Online"))
        return ConnectionOnline;
    if (word == QLatin1String("GoingOnline"))
        return ConnectionGoingOnline;
    if (word == QLatin1String("GoingOffline"))
        return ConnectionGoingOffline;
    if (word == QLatin1String("Aborted"))
        return ConnectionAborted;
    return ConnectionOffline;
}

int dataSetStateOf(const QString& word)
{
    if (word == QLatin1String("validModified"))
        return DataSetValidModified;
    if (word == QLatin1String("invalidModified"))
        return DataSetInvalidModified;
    if (word == QLatin1String("allDataLoaded"))
        return DataSetAllDataLoaded;
    return DataSetDefault;
}

}  // namespace orvx::framework
