#include "hart/protocol/UniversalData.h"

#include "hart/protocol/PackedAscii.h"

namespace orvx::hart {

namespace {

constexpr std::size_t kUnitValueBytes = 5;
constexpr std::size_t kTagBytes = 6;

Refusal tooShort(const char* what, std::size_t needed, std::size_t arrived)
{
    return refuse(arrived, std::string(what) + " needs " + std::to_string(needed) + " bytes, " +
                               std::to_string(arrived) + " arrived");
}

void writeUnitValue(ByteWriter& out, const UnitValue& value)
{
    out.u8(value.unit);
    out.f32(value.value);
}

UnitValue readUnitValue(ByteReader& in)
{
    UnitValue value;
    value.unit = in.u8();
    value.value = in.f32();
    return value;
}

}  // namespace

Bytes encodePrimaryVariable(const UnitValue& pv)
{
    Bytes data;
    ByteWriter out(data);
    writeUnitValue(out, pv);
    return data;
}

Decoded<UnitValue> decodePrimaryVariable(ByteView data)
{
    ByteReader in(data);
    const UnitValue pv = readUnitValue(in);
    if (!in.ok())
        return tooShort("the primary variable", kUnitValueBytes, data.size());
    return pv;
}

Bytes encodeLoopCurrent(const LoopCurrent& current)
{
    Bytes data;
    ByteWriter out(data);
    out.f32(current.milliamperes);
    out.f32(current.percentOfRange);
    return data;
}

Decoded<LoopCurrent> decodeLoopCurrent(ByteView data)
{
    ByteReader in(data);
    LoopCurrent current;
    current.milliamperes = in.f32();
    current.percentOfRange = in.f32();
    if (!in.ok())
        return tooShort("the loop current and percent of range", 8, data.size());
    return current;
}

Decoded<Bytes> encodeDynamicVariables(const DynamicVariables& values)
{
    if (values.variables.empty() || values.variables.size() > kMaxDynamicVariables)
        return refuse(4, "one to four dynamic variables, not " + std::to_string(values.variables.size()));
    Bytes data;
    ByteWriter out(data);
    out.f32(values.loopCurrent);
    for (const UnitValue& value : values.variables)
        writeUnitValue(out, value);
    return data;
}

Decoded<DynamicVariables> decodeDynamicVariables(ByteView data)
{
    constexpr std::size_t kFirst = 4 + kUnitValueBytes;
    if (data.size() < kFirst)
        return tooShort("the loop current and the primary variable", kFirst, data.size());
    const std::size_t count = (data.size() - 4) / kUnitValueBytes;
    if ((data.size() - 4) % kUnitValueBytes != 0 || count > kMaxDynamicVariables)
        return refuse(data.size(), std::to_string(data.size()) + " bytes are no loop current and 1 to 4 variables");
    ByteReader in(data);
    DynamicVariables values;
    values.loopCurrent = in.f32();
    for (std::size_t i = 0; i < count; ++i)
        values.variables.push_back(readUnitValue(in));
    return values;
}

Bytes encodeLoopConfiguration(const LoopConfiguration& configuration)
{
    return Bytes{configuration.pollAddress, static_cast<std::uint8_t>(configuration.loopCurrentEnabled ? 1 : 0)};
}

Decoded<LoopConfiguration> decodeLoopConfiguration(ByteView data, std::size_t minimum)
{
    if (data.size() < std::max<std::size_t>(minimum, 1))
        return tooShort("the loop configuration", std::max<std::size_t>(minimum, 1), data.size());
    LoopConfiguration configuration;
    configuration.pollAddress = data[0];
    if (configuration.pollAddress > kMaxPollAddress)
        return refuse(0, "poll address " + std::to_string(data[0]) + " is over 63");
    if (data.size() < 2) {
        configuration.loopCurrentEnabled = configuration.pollAddress == 0;
        return configuration;
    }
    if (data[1] > 1)
        return refuse(1, "loop current mode " + std::to_string(data[1]) + " is neither 0 nor 1");
    configuration.loopCurrentEnabled = data[1] == 1;
    return configuration;
}

Decoded<Bytes> encodeTagRequest(const std::string& tag)
{
    return packAscii(tag, kTagBytes);
}

Decoded<std::string> decodeTagRequest(ByteView data)
{
    if (data.size() < kTagBytes)
        return tooShort("a tag", kTagBytes, data.size());
    std::string tag = unpackAscii(data.first(kTagBytes));
    tag.erase(tag.find_last_not_of(' ') + 1);
    return tag;
}

Decoded<Bytes> encodeFinalAssemblyNumber(std::uint32_t number)
{
    if (number > 0xFFFFFF)
        return refuse(0, "a final assembly number has three bytes");
    Bytes data;
    ByteWriter(data).u24(number);
    return data;
}

Decoded<std::uint32_t> decodeFinalAssemblyNumber(ByteView data)
{
    ByteReader in(data);
    const std::uint32_t number = in.u24();
    if (!in.ok())
        return tooShort("a final assembly number", 3, data.size());
    return number;
}

Bytes encodeConfigurationCounter(std::optional<std::uint16_t> counter)
{
    Bytes data;
    if (counter)
        ByteWriter(data).u16(*counter);
    return data;
}

Decoded<std::optional<std::uint16_t>> decodeConfigurationCounter(ByteView data)
{
    if (data.empty())
        return std::optional<std::uint16_t>();
    ByteReader in(data);
    const std::uint16_t counter = in.u16();
    if (!in.ok())
        return tooShort("the configuration change counter", 2, data.size());
    return std::optional<std::uint16_t>(counter);
}

Decoded<Bytes> encodeAdditionalStatus(const AdditionalStatus& status)
{
    if (status.length < kMinAdditionalStatus || status.length > kMaxAdditionalStatus)
        return refuse(0, "additional status has 6 to 25 bytes, not " + std::to_string(status.length));
    Bytes data(status.deviceSpecific.begin(), status.deviceSpecific.end());
    for (std::uint8_t byte :
         {status.extendedDeviceStatus, status.operatingMode, status.standardized0, status.standardized1,
          status.analogSaturated, status.standardized2, status.standardized3, status.analogFixed})
        data.push_back(byte);
    data.insert(data.end(), status.moreDeviceSpecific.begin(), status.moreDeviceSpecific.end());
    data.resize(status.length);
    return data;
}

Decoded<AdditionalStatus> decodeAdditionalStatus(ByteView data)
{
    if (data.size() < kMinAdditionalStatus)
        return tooShort("additional status", kMinAdditionalStatus, data.size());
    if (data.size() > kMaxAdditionalStatus)
        return refuse(kMaxAdditionalStatus,
                      "additional status has at most 25 bytes, " + std::to_string(data.size()) + " arrived");
    Bytes full(data.begin(), data.end());
    full.resize(kMaxAdditionalStatus, 0);
    AdditionalStatus status;
    std::copy(full.begin(), full.begin() + 6, status.deviceSpecific.begin());
    std::uint8_t* shared[] = {&status.extendedDeviceStatus, &status.operatingMode,   &status.standardized0,
                              &status.standardized1,        &status.analogSaturated, &status.standardized2,
                              &status.standardized3,        &status.analogFixed};
    for (std::size_t i = 0; i < std::size(shared); ++i)
        *shared[i] = full[6 + i];
    std::copy(full.begin() + 14, full.end(), status.moreDeviceSpecific.begin());
    status.length = static_cast<std::uint8_t>(data.size());
    return status;
}

}  // namespace orvx::hart
