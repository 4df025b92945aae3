#pragma once

#include "hart/protocol/Bytes.h"
#include "hart/tls/PresharedKey.h"

#include <cstddef>
#include <memory>
#include <string>

// OpenSSL's own, kept out of the includers' way.
struct ssl_st;
struct ssl_ctx_st;

namespace orvx::hart {

// The TLS settings both ends of HART-IP over TLS share: TLS 1.2 or 1.3, pre-shared key cipher
// suites only, no certificates, no session tickets. The client offers its identity; the server
// takes only the identity and key it holds.
class PskContext {
public:
    enum class Role { Client, Server };
    // Null, with the reason in `error`, when OpenSSL refuses the settings.
    static std::unique_ptr<PskContext> make(Role role, PresharedKey key, std::string& error);
    ~PskContext();
    PskContext(const PskContext&) = delete;
    PskContext& operator=(const PskContext&) = delete;

    Role role() const { return m_role; }

private:
    friend class TlsStream;
    PskContext(Role role, PresharedKey key) : m_role(role), m_key(std::move(key)) {}

    Role m_role;
    PresharedKey m_key;
    struct ssl_ctx_st* m_context = nullptr;
};

// One TLS connection over a connected non-blocking socket, for either end. Nothing here waits:
// a step that needs the socket readable or writable says so, and the caller polls and steps
// again. The socket stays the caller's.
class TlsStream {
public:
    enum class Step { Done, WantRead, WantWrite, Closed, Failed };

    // Null, with the reason in `error`, when OpenSSL cannot make the connection.
    static std::unique_ptr<TlsStream> make(const PskContext& context, int fd, std::string& error);
    ~TlsStream();
    TlsStream(const TlsStream&) = delete;
    TlsStream& operator=(const TlsStream&) = delete;

    Step handshake();
    // Done with `received` bytes (at least one) in `buffer`.
    Step read(std::uint8_t* buffer, std::size_t size, std::size_t& received);
    // Done when every byte went out. A WantRead or WantWrite must be answered by the same call.
    Step write(ByteView bytes);
    // Bytes already decrypted, which no poll of the socket announces.
    bool pending() const;
    // Sends the close alert without waiting for the peer's.
    void shutdown();

    // After Failed: what OpenSSL said.
    const std::string& error() const { return m_error; }
    // The peer sent a fatal alert: for a client in the handshake, the server refused its key.
    bool peerAlerted() const { return m_peerAlerted; }

private:
    TlsStream() = default;
    Step step(int result);
    static void onInfo(const struct ssl_st* ssl, int where, int value);

    struct ssl_st* m_ssl = nullptr;
    std::string m_error;
    bool m_peerAlerted = false;
};

}  // namespace orvx::hart
