#pragma once

#include "device/Vocabulary.h"

#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace orvx::hart {

// The device's parameters as last read over the link, for the user interface to read without
// waiting for the device. The link's thread writes it and the user interface reads it. What the
// user interface read since the last new live values is what its shown page needs: the link
// reads those again, and only those, with the next.
class ParameterCache {
public:
    std::optional<std::string> read(const device::Parameter& parameter);
    void store(const device::Parameter& parameter, std::string text);
    // The parameters read since the last call.
    std::vector<const device::Parameter*> takeWatched();
    bool loaded() const;
    void setLoaded(bool loaded);

private:
    mutable std::mutex m_mutex;
    std::map<std::string_view, std::string> m_values;
    std::set<const device::Parameter*> m_watched;
    bool m_loaded = false;
};

}  // namespace orvx::hart
