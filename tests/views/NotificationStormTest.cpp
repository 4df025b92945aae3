// A storm of notifications on the main view: known and unknown codes with random values and
// garbage, interleaved with page switches, rights and connection coming and going. Nothing may
// crash, memory may not grow, and afterwards the operation record is clear and every page's
// buttons come back.

#include "framework/ApplicationViewBase.h"
#include "support/Campaign.h"
#include "support/PageFixture.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPushButton>

#include <malloc.h>
#include <random>

using namespace orvx;

namespace {

class Storm : public test::MainViewFixture {
protected:
    framework::CApplicationViewBase* show(std::int32_t view) { return showPage(view); }
    static std::size_t heapInUse() { return mallinfo2().uordblks; }
    // Runs what the pages posted and forgets what the fakes recorded: that is the harness's
    // memory, not the program's.
    void settle()
    {
        QCoreApplication::processEvents();
        // Outside an event loop, objects deleted later wait for this.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        device->calls.clear();
        dialogs.messages.clear();
        log.clear();
    }

    // One random notification: mostly the codes the device sends, some it never sends.
    void notify(std::mt19937& random)
    {
        static const std::int32_t known[] = {1,   100, 500, 503, 504, 505, 506, 508, 509, 510, 511, 512, 513,
                                             514, 515, 516, 517, 518, 519, 520, 521, 523, 524, 524, 524, 525,
                                             526, 527, 528, 529, 530, 531, 533, -1,  -2,  -3,  -6,  -7};
        static const char* const values[] = {"",  "0",  "4",     "13",  "14",       "x",  "-1", "99999999999",
                                             "2", "\t", "1e400", "nan", "\xff\xfe", "23", "16", "<DtmState"};
        auto pick = [&](std::size_t size) { return std::uniform_int_distribution<std::size_t>(0, size - 1)(random); };
        std::int32_t code = known[pick(std::size(known))];
        if (pick(10) == 0)
            code = std::uniform_int_distribution<std::int32_t>(-100000, 100000)(random);
        QString value = QString::fromLatin1(values[pick(std::size(values))]);
        if (code == 1 && pick(2) == 0) {
            // A state document: rights, dialogs and the connection change now and then.
            value = test::FakeBusinessObject::stateDocumentOf(
                {{QStringLiteral("state"), pick(4) ? QStringLiteral("Online") : QStringLiteral("Offline")},
                 {QStringLiteral("userLevel"), pick(5) ? QStringLiteral("maintenance") : QStringLiteral("observer")},
                 {QStringLiteral("isPrivateDialogEnabled"), QStringLiteral("0")}});
        } else if (pick(50) == 0) {
            value = QString(static_cast<int>(pick(5000)), QChar(static_cast<char16_t>(pick(0xD7FF) + 1)));
        }
        device->parameters["15000"] = com::Variant::boolean(pick(20) != 0);
        controller.OnDtmUpdate(code, value);
    }
};

TEST_F(Storm, ThePagesWeatherAStormOfNotifications)
{
    const int count = test::campaignCount(20'000, 1'000'000);
    std::mt19937 random(20261206);
    // Every page made first: what they hold is no growth.
    for (std::int32_t view = 0; view <= 23; ++view)
        show(view);
    std::size_t halfway = 0;
    for (int i = 0; i < count; ++i) {
        if (i % 500 == 0)
            show(std::uniform_int_distribution<std::int32_t>(0, 23)(random));
        notify(random);
        if (i % 1000 == 0)
            settle();
        if (i == count / 2)
            halfway = heapInUse();
    }
    settle();
    const std::size_t end = heapInUse();
    test::reportCampaign("%d notifications, heap %zu kB at half, %zu kB at the end", count, halfway / 1024, end / 1024);
    EXPECT_LT(end, halfway + 256 * 1024) << "the heap grew in the second half";

    // The device settles: connected, writable, nothing running. Every page's Apply Mode is back.
    device->parameters["15000"] = com::Variant::boolean(true);
    controller.OnDtmUpdate(
        1, test::FakeBusinessObject::stateDocumentOf({{QStringLiteral("state"), QStringLiteral("Online")},
                                                      {QStringLiteral("userLevel"), QStringLiteral("maintenance")}}));
    controller.SetOperation(false, -1, -1);
    controller.OnDtmUpdate(500, QString());
    EXPECT_FALSE(controller.IsOperationRunning());
    for (std::int32_t view = 0; view <= 23; ++view) {
        framework::CApplicationViewBase* page = show(view);
        ASSERT_NE(page, nullptr) << view;
        controller.OnDtmUpdate(500, QString());
        const auto* applyMode = page->findChild<QPushButton*>(QStringLiteral("item_202"));
        ASSERT_NE(applyMode, nullptr) << view;
        EXPECT_TRUE(applyMode->isEnabled()) << "view " << view << ": Apply Mode did not come back";
    }
}

}  // namespace
