#include "store/RecordBytes.h"

#include <QCryptographicHash>
#include <QtEndian>

#include <cstring>

namespace orvx::store {

namespace {

template <class T>
void append(QByteArray& out, T value)
{
    static_assert(sizeof(T) == 4);
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, 4);
    const std::uint32_t little = qToLittleEndian(bits);
    out.append(reinterpret_cast<const char*>(&little), 4);
}

template <class T>
T at(const QByteArray& bytes, qsizetype index)
{
    std::uint32_t little = 0;
    std::memcpy(&little, bytes.constData() + index * 4, 4);
    const std::uint32_t bits = qFromLittleEndian(little);
    T value{};
    std::memcpy(&value, &bits, 4);
    return value;
}

}  // namespace

QByteArray valuesBytes(const diagnostics::DiagRecord& record)
{
    QByteArray out;
    for (const std::int32_t value : record.values)
        append(out, value);
    return out;
}

QByteArray curveBytes(const std::vector<float>& samples)
{
    QByteArray out;
    out.reserve(static_cast<qsizetype>(samples.size()) * 4);
    for (const float sample : samples)
        append(out, sample);
    return out;
}

bool readValues(const QByteArray& bytes, diagnostics::DiagRecord& record)
{
    if (bytes.size() != diagnostics::kRecordValueCount * 4)
        return false;
    for (int i = 0; i < diagnostics::kRecordValueCount; ++i)
        record.values[static_cast<std::size_t>(i)] = at<std::int32_t>(bytes, i);
    return true;
}

bool readCurve(const QByteArray& bytes, std::vector<float>& samples)
{
    if (bytes.size() % 4 != 0 || bytes.size() / 4 > diagnostics::kMaxCurvePoints)
        return false;
    samples.resize(static_cast<std::size_t>(bytes.size() / 4));
    for (qsizetype i = 0; i < bytes.size() / 4; ++i)
        samples[static_cast<std::size_t>(i)] = at<float>(bytes, i);
    return true;
}

namespace {

// Each field's length goes first, so that no two records run together alike.
class FieldHash {
public:
    void add(const QByteArray& bytes)
    {
        QByteArray size;
        append(size, static_cast<std::int32_t>(bytes.size()));
        m_hash.addData(size);
        m_hash.addData(bytes);
    }
    // Kind, device and every number of the record.
    void addTest(const diagnostics::DiagRecord& record)
    {
        add(valuesBytes(record));
        for (const auto* curve :
             {&record.curve1.position, &record.curve1.pressure, &record.curve2.position, &record.curve2.pressure})
            add(curveBytes(*curve));
    }
    QString hex() { return QString::fromLatin1(m_hash.result().toHex()); }

private:
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
};

QByteArray kindBytes(diagnostics::DiagKind kind)
{
    return kind == diagnostics::DiagKind::Pst ? "PST" : "ESD";
}

}  // namespace

QString contentHash(const diagnostics::DiagRecord& record, const QDateTime& takenAt, std::optional<qint64> deviceCount)
{
    FieldHash hash;
    hash.add(kindBytes(record.kind));
    hash.add(record.tag.toUtf8());
    hash.add(QByteArray::number(record.deviceId));
    hash.add(takenAt.toUTC().toString(Qt::ISODate).toUtf8());
    hash.addTest(record);
    if (deviceCount)
        hash.add(QByteArray::number(*deviceCount));
    return hash.hex();
}

QString testHash(const diagnostics::DiagRecord& record, std::optional<qint64> deviceCount)
{
    FieldHash hash;
    hash.add(kindBytes(record.kind));
    hash.add(QByteArray::number(record.deviceId));
    hash.add(deviceCount ? QByteArray::number(*deviceCount) : QByteArray());
    hash.addTest(record);
    return hash.hex();
}

}  // namespace orvx::store
