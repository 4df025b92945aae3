#include "hart/tls/PskTls.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <pthread.h>

namespace orvx::hart {

namespace {

// TLS 1.2: pre-shared key suites only, with ephemeral keys first. TLS 1.3: the SHA-256 suite,
// the one OpenSSL pairs with a key handed over by the TLS 1.2 key callbacks.
constexpr char kTls12Suites[] = "ECDHE-PSK-CHACHA20-POLY1305:PSK-AES256-GCM-SHA384:PSK-AES128-GCM-SHA256";
constexpr char kTls13Suites[] = "TLS_AES_128_GCM_SHA256";

std::string openSslError(const char* what)
{
    const unsigned long code = ERR_get_error();
    char text[256] = {};
    if (code != 0)
        ERR_error_string_n(code, text, sizeof text);
    ERR_clear_error();
    return std::string(what) + (code != 0 ? std::string(": ") + text : std::string());
}

const PresharedKey& keyOf(SSL* ssl)
{
    return *static_cast<const PresharedKey*>(SSL_CTX_get_app_data(SSL_get_SSL_CTX(ssl)));
}

unsigned int clientKey(SSL* ssl, const char*, char* identity, unsigned int maxIdentity, unsigned char* psk,
                       unsigned int maxKey)
{
    const PresharedKey& key = keyOf(ssl);
    if (key.identity.size() + 1 > maxIdentity || key.key.size() > maxKey)
        return 0;
    std::memcpy(identity, key.identity.c_str(), key.identity.size() + 1);
    std::memcpy(psk, key.key.data(), key.key.size());
    return static_cast<unsigned int>(key.key.size());
}

// Another identity gets no key, and the handshake fails.
unsigned int serverKey(SSL* ssl, const char* identity, unsigned char* psk, unsigned int maxKey)
{
    const PresharedKey& key = keyOf(ssl);
    if (identity == nullptr || key.identity != identity || key.key.size() > maxKey)
        return 0;
    std::memcpy(psk, key.key.data(), key.key.size());
    return static_cast<unsigned int>(key.key.size());
}

// OpenSSL writes to the socket without MSG_NOSIGNAL: a peer that closed would raise SIGPIPE and
// end the program. The signal is held back on this thread for the call and taken away after.
class QuietPipe {
public:
    QuietPipe()
    {
        sigemptyset(&m_pipe);
        sigaddset(&m_pipe, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        m_wasPending = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &m_pipe, &m_saved);
    }
    ~QuietPipe()
    {
        if (!m_wasPending) {
            const timespec none{};
            while (sigtimedwait(&m_pipe, nullptr, &none) == SIGPIPE) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &m_saved, nullptr);
    }
    QuietPipe(const QuietPipe&) = delete;
    QuietPipe& operator=(const QuietPipe&) = delete;

private:
    sigset_t m_pipe;
    sigset_t m_saved;
    bool m_wasPending = false;
};

}  // namespace

std::unique_ptr<PskContext> PskContext::make(Role role, PresharedKey key, std::string& error)
{
    std::unique_ptr<PskContext> context(new PskContext(role, std::move(key)));
    ERR_clear_error();
    SSL_CTX* ssl = SSL_CTX_new(role == Role::Client ? TLS_client_method() : TLS_server_method());
    context->m_context = ssl;
    if (ssl == nullptr || SSL_CTX_set_min_proto_version(ssl, TLS1_2_VERSION) != 1 ||
        SSL_CTX_set_cipher_list(ssl, kTls12Suites) != 1 || SSL_CTX_set_ciphersuites(ssl, kTls13Suites) != 1 ||
        SSL_CTX_set_num_tickets(ssl, 0) != 1) {
        error = openSslError("cannot set up TLS");
        return nullptr;
    }
    SSL_CTX_set_options(ssl, SSL_OP_NO_TICKET | SSL_OP_NO_RENEGOTIATION);
    SSL_CTX_set_app_data(ssl, &context->m_key);
    if (role == Role::Client)
        SSL_CTX_set_psk_client_callback(ssl, clientKey);
    else
        SSL_CTX_set_psk_server_callback(ssl, serverKey);
    return context;
}

PskContext::~PskContext()
{
    SSL_CTX_free(m_context);
}

std::unique_ptr<TlsStream> TlsStream::make(const PskContext& context, int fd, std::string& error)
{
    std::unique_ptr<TlsStream> stream(new TlsStream());
    ERR_clear_error();
    stream->m_ssl = SSL_new(context.m_context);
    if (stream->m_ssl == nullptr || SSL_set_fd(stream->m_ssl, fd) != 1) {
        error = openSslError("cannot start TLS");
        return nullptr;
    }
    SSL_set_app_data(stream->m_ssl, stream.get());
    SSL_set_info_callback(stream->m_ssl, onInfo);
    if (context.role() == PskContext::Role::Client)
        SSL_set_connect_state(stream->m_ssl);
    else
        SSL_set_accept_state(stream->m_ssl);
    return stream;
}

TlsStream::~TlsStream()
{
    SSL_free(m_ssl);
}

void TlsStream::onInfo(const SSL* ssl, int where, int value)
{
    if ((where & SSL_CB_ALERT) && (where & SSL_CB_READ) && (value >> 8) == SSL3_AL_FATAL)
        static_cast<TlsStream*>(SSL_get_app_data(ssl))->m_peerAlerted = true;
}

TlsStream::Step TlsStream::step(int result)
{
    const int code = SSL_get_error(m_ssl, result);
    switch (code) {
    case SSL_ERROR_NONE: return Step::Done;
    case SSL_ERROR_WANT_READ: return Step::WantRead;
    case SSL_ERROR_WANT_WRITE: return Step::WantWrite;
    case SSL_ERROR_ZERO_RETURN: ERR_clear_error(); return Step::Closed;
    default: break;
    }
    const unsigned long reason = ERR_GET_REASON(ERR_peek_error());
    // The peer went away without a word: a reset or an end of stream in the middle of a record.
    if ((code == SSL_ERROR_SYSCALL && ERR_peek_error() == 0 && (errno == 0 || errno == ECONNRESET)) ||
        reason == SSL_R_UNEXPECTED_EOF_WHILE_READING) {
        ERR_clear_error();
        return Step::Closed;
    }
    m_error = code == SSL_ERROR_SYSCALL && ERR_peek_error() == 0 ? std::string(std::strerror(errno))
                                                                 : openSslError("TLS");
    ERR_clear_error();
    return Step::Failed;
}

TlsStream::Step TlsStream::handshake()
{
    const QuietPipe quiet;
    ERR_clear_error();
    errno = 0;
    return step(SSL_do_handshake(m_ssl));
}

TlsStream::Step TlsStream::read(std::uint8_t* buffer, std::size_t size, std::size_t& received)
{
    const QuietPipe quiet;
    ERR_clear_error();
    errno = 0;
    received = 0;
    return step(SSL_read_ex(m_ssl, buffer, size, &received));
}

TlsStream::Step TlsStream::write(ByteView bytes)
{
    const QuietPipe quiet;
    ERR_clear_error();
    errno = 0;
    std::size_t written = 0;
    return step(SSL_write_ex(m_ssl, bytes.data(), bytes.size(), &written));
}

bool TlsStream::pending() const
{
    return SSL_pending(m_ssl) > 0;
}

void TlsStream::shutdown()
{
    if (!SSL_is_init_finished(m_ssl))
        return;
    const QuietPipe quiet;
    SSL_shutdown(m_ssl);
    ERR_clear_error();
}

}  // namespace orvx::hart
