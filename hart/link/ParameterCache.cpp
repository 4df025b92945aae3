#include "hart/link/ParameterCache.h"

namespace orvx::hart {

std::optional<std::string> ParameterCache::read(const device::Parameter& parameter)
{
    const std::lock_guard lock(m_mutex);
    m_watched.insert(device::findParameter(parameter.tag));
    const auto it = m_values.find(parameter.tag);
    if (it == m_values.end())
        return std::nullopt;
    return it->second;
}

std::optional<std::string> ParameterCache::peek(const device::Parameter& parameter) const
{
    const std::lock_guard lock(m_mutex);
    const auto it = m_values.find(parameter.tag);
    if (it == m_values.end())
        return std::nullopt;
    return it->second;
}

void ParameterCache::store(const device::Parameter& parameter, std::string text)
{
    const std::lock_guard lock(m_mutex);
    m_values[parameter.tag] = std::move(text);
}

std::vector<const device::Parameter*> ParameterCache::takeWatched()
{
    const std::lock_guard lock(m_mutex);
    std::vector<const device::Parameter*> taken(m_watched.begin(), m_watched.end());
    m_watched.clear();
    return taken;
}

bool ParameterCache::loaded() const
{
    const std::lock_guard lock(m_mutex);
    return m_loaded;
}

void ParameterCache::setLoaded(bool loaded)
{
    const std::lock_guard lock(m_mutex);
    m_loaded = loaded;
}

void ParameterCache::setUnsupported(const std::vector<const device::Parameter*>& parameters)
{
    const std::lock_guard lock(m_mutex);
    m_unsupported.clear();
    for (const device::Parameter* parameter : parameters) {
        m_unsupported.insert(parameter->tag);
        m_values.erase(parameter->tag);
    }
}

bool ParameterCache::supported(const device::Parameter& parameter) const
{
    const std::lock_guard lock(m_mutex);
    return !m_unsupported.contains(parameter.tag);
}

}  // namespace orvx::hart
