#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <cstdio>

namespace orvx::test {

// Whether the campaigns run in full: ORVX_FULL_CAMPAIGNS=1 in the environment.
inline bool fullCampaigns()
{
    return qEnvironmentVariableIntValue("ORVX_FULL_CAMPAIGNS") == 1;
}

// How many steps a campaign runs: a count that keeps the suite fast, or the full count.
inline int campaignCount(int quick, int full)
{
    return fullCampaigns() ? full : quick;
}

// A campaign's figures on the test's output, for the record.
template <typename... Args>
void reportCampaign(const char* format, Args... args)
{
    std::printf("[ CAMPAIGN ] ");
    std::printf(format, args...);
    std::printf("\n");
    std::fflush(stdout);
}

}  // namespace orvx::test
