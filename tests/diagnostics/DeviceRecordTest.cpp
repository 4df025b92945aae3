// The device's last PST read parameter by parameter, as the plant keeps it.
#include "device/DeviceNames.h"
#include "diagnostics/DeviceRecord.h"

#include <gtest/gtest.h>

#include <QHash>

#include <stdexcept>

namespace orvx::diagnostics {
namespace {

namespace tag = device::tag;

// A device of parameter texts; a tag it does not hold is a refused read.
struct Texts {
    QHash<QString, QString> values;
    QString operator()(QLatin1StringView name) const
    {
        const auto it = values.find(QString(name));
        if (it == values.end())
            throw std::runtime_error("refused");
        return *it;
    }
};

Texts aPst()
{
    Texts device;
    device.values = {{QString(tag::ExhaustCurve), QStringLiteral("30@100@25@90")},
                     {QString(tag::FillCurve), QStringLiteral("25@90@31@100@")},
                     {QString(tag::SampleInterval), QStringLiteral("50")},
                     {QString(tag::MeasuredPressureUnit), QStringLiteral("7")},
                     {QString(tag::DeviceTag), QStringLiteral("XV-201")},
                     {QString(tag::DeviceId), QStringLiteral("305420")},
                     {QString(tag::RecordSamples), QStringLiteral("40")},
                     {QString(tag::RecordSamplesDown), QStringLiteral("15")}};
    for (const QLatin1StringView name :
         {tag::RecordPassed, tag::RecordFriction, tag::RecordTravel, tag::RecordUpperSpring, tag::RecordLowerSpring,
          tag::RecordBreakaway, tag::RecordDroop, tag::RecordFillTime, tag::RecordExhaustTime, tag::RecordStart,
          tag::RecordSpeed, tag::RecordInterval})
        device.values.insert(QString(name), QString::number(device.values.size()));
    return device;
}

TEST(DeviceRecord, ATestTheDeviceCannotGiveIsNoRecordAndSaysWhy)
{
    const struct {
        const char* what;
        QLatin1StringView tag;
        const char* text;  // null: the read is refused
        const char* why;
    } cases[] = {
        {"no signature yet", tag::FillCurve, "", "the device holds no PST"},
        {"a garbled curve", tag::ExhaustCurve, "30@x@25@90", "the device holds no PST"},
        {"a refused read", tag::DeviceId, nullptr, "a read from the device failed (refused)"},
        {"a count that is no number", tag::RecordSamples, "forty",
         "a read from the device failed (not a whole number)"},
    };
    for (const auto& each : cases) {
        Texts device = aPst();
        if (each.text)
            device.values[QString(each.tag)] = QString::fromLatin1(each.text);
        else
            device.values.remove(QString(each.tag));
        QString why;
        EXPECT_FALSE(readDeviceRecord(DiagKind::Pst, device, &why)) << each.what;
        EXPECT_EQ(why.toStdString(), each.why) << each.what;
    }
}

TEST(DeviceRecord, APstReadsAsADataFileKeepsIt)
{
    QString why;
    const auto record = readDeviceRecord(DiagKind::Pst, aPst(), &why);
    ASSERT_TRUE(record) << why.toStdString();
    EXPECT_EQ(record->tag, QStringLiteral("XV-201"));
    EXPECT_EQ(record->deviceId, 305420);
    EXPECT_EQ(record->curve1.pressure, (std::vector<float>{30, 25}));
    EXPECT_EQ(record->curve1.position, (std::vector<float>{100, 90}));
    EXPECT_EQ(record->curve2.Count(), 2) << "a last field without a partner is dropped";
    EXPECT_EQ(record->Value(RecordValue::Friction), aPst()(tag::RecordFriction).toInt());
    EXPECT_EQ(record->Value(RecordValue::Interval), aPst()(tag::RecordInterval).toInt());
    EXPECT_EQ(record->Value(RecordValue::PresUnits), 7);
    EXPECT_EQ(record->Value(RecordValue::NumSamplesDown), 15);
    EXPECT_EQ(record->Value(RecordValue::NumSamplesUp), 25) << "the samples less those down";
}

TEST(DeviceRecord, AnEsdEventKeepsOnlyItsStrokeAndSampling)
{
    Texts device = aPst();
    device.values[QString(tag::FillCurve)] = QString();
    QString why;
    const auto record = readDeviceRecord(DiagKind::Esd, device, &why);
    ASSERT_TRUE(record) << why.toStdString();
    EXPECT_TRUE(record->curve2.Empty());
    EXPECT_EQ(record->Value(RecordValue::Interval), 50);
    EXPECT_EQ(record->Value(RecordValue::Friction), 0);
}

}  // namespace
}  // namespace orvx::diagnostics
