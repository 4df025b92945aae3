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
// reads those again, and only those, with the next. A device of another make has none of the
// positioner's own parameters: the link marks those it cannot read as not supported, so that
// a page says so instead of showing a value left from another device.
class ParameterCache {
public:
    std::optional<std::string> read(const device::Parameter& parameter);
    // As read, for the link, without counting it as watched.
    std::optional<std::string> peek(const device::Parameter& parameter) const;
    void store(const device::Parameter& parameter, std::string text);
    // The parameters read since the last call.
    std::vector<const device::Parameter*> takeWatched();
    bool loaded() const;
    void setLoaded(bool loaded);
    // Replaces the parameters marked as not supported; an empty list marks none.
    void setUnsupported(const std::vector<const device::Parameter*>& parameters);
    bool supported(const device::Parameter& parameter) const;

private:
    mutable std::mutex m_mutex;
    std::map<std::string_view, std::string> m_values;
    std::set<const device::Parameter*> m_watched;
    std::set<std::string_view> m_unsupported;  // by tag
    bool m_loaded = false;
};

}  // namespace orvx::hart
