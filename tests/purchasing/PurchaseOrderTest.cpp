// Purchase orders without a window: the order file byte for byte, receiving
// as one change of stock and order, and the refusals that keep both sound.

#include "../storage/LayoutCheck.h"
#include "../storage/RecordBuilders.h"
#include "purchasing/PurchaseOrderDesk.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/PurchaseOrderFile.h"
#include "support/KilledRegisters.h"
#include "support/ProductFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {
using Stock = PurchaseOrderDesk::Stock;

ProductRecord supplied(const std::string& item, const std::string& vendorNumber, float stock)
{
    ProductRecord p = productWithStock(item, stock);
    p.vendorNumber = vendorNumber;
    return p;
}

struct PurchaseOrders : ::testing::Test {
    TempDir dir;
    CLocalFile local{dir.path()};
    std::vector<std::string> said;
    std::vector<bool> answers;  // to the questions, in turn
    DeskPrompts prompts{[this](const std::string& t) { said.push_back(t); },
                        [this](const std::string& t) {
                            said.push_back(t);
                            if (answers.empty())
                                return ADD_FAILURE() << "unexpected question: " << t, false;
                            const bool yes = answers.front();
                            answers.erase(answers.begin());
                            return yes;
                        }};

    void SetUp() override
    {
        writeProductFile(local.GetPath("Products"),
                         {supplied("NOVN", "", 7), supplied("BOLT", "V-100", 5), supplied("NUT", "v-200", 40)});
    }
    float stockOf(std::size_t index) { return readProducts(local.GetPath("Products"))[index].stock; }
    std::vector<std::uint8_t> orderBytes(const std::string& number = "1001")
    {
        return readBytes(PurchaseOrderDesk::PathFor(local, number));
    }
    // An order of 12 BOLT with 2 back-ordered, and 3 NUT.
    PurchaseOrderDesk savedOrder()
    {
        PurchaseOrderDesk desk;
        desk.AddProduct("v-100", "Bolt", 0.25f, 12);
        desk.AddProduct("V-200", "Nut", 0.1f, 3);
        desk.order.lines[0].backOrder = 2;
        desk.order.number = "1001";
        EXPECT_TRUE(desk.Save(local, prompts));
        return desk;
    }
};

TEST_F(PurchaseOrders, TheOrderFileHoldsHeaderAndEverySlotAtTheirOffsets)
{
    PurchaseOrderDesk desk;
    desk.AddProduct("V-100", "Bolt, zinc", 0.25f, 12);
    desk.AddProduct("V-300", "Washer", 2.5f, 4);
    desk.AddProduct("V-200", std::string(50, 'd'), 0.5f, 2);
    desk.order.discount = 1;
    desk.order.shipping = 2.5f;
    desk.order.number = "ACME-17";
    ASSERT_TRUE(desk.ClearLine(0));  // the last line moves into slot 0; slot 2 keeps its bytes
    desk.order.lines[1].backOrder = 1;
    ASSERT_TRUE(desk.Save(local, prompts));

    const auto b = readBytes(dir.file("PO-ACME-17.PON"));
    ASSERT_EQ(b.size(), 52u + 300u * 84u);
    // The header (version, lines in use, flags, the number and the sums), three
    // slots, and 297 slots never written: the table must tile the file.
    std::vector<Slot> layout{u16(0, 4),   u16(2, 2),   u8(4, 0),      u8(5, 1),
                             u16(6, 0),   i32(8, 0),   text(12, 24, "ACME-17"),
                             f32(36, 11), f32(40, 1),  f32(44, 2.5f), f32(48, 11 - 1 + 2.5f),
                             zeros(52 + 84 * 3, 297 * 84)};
    struct Line {
        const char* vendorNumber;
        std::string description;
        float qty, backOrder, cost, amount;
    };
    const Line lines[] = {{"V-200", std::string(39, 'd'), 2, 0, 0.5f, 1},
                          {"V-300", "Washer", 4, 1, 2.5f, 10},
                          {"V-200", std::string(39, 'd'), 2, 0, 0.5f, 1}};
    for (std::size_t at = 52; const Line& l : lines) {
        layout.insert(layout.end(), {text(at, 24, l.vendorNumber), text(at + 24, 40, l.description), f32(at + 64, l.qty),
                                     f32(at + 68, 0), f32(at + 72, l.backOrder), f32(at + 76, l.cost),
                                     f32(at + 80, l.amount)});
        at += 84;
    }
    expectLayout(b.data(), b.size(), layout);

    PurchaseOrderDesk again;
    ASSERT_TRUE(again.Open(local, dir.file("PO-ACME-17.PON"), prompts));
    std::vector<std::uint8_t> reencoded(PurchaseOrderRecord::kSize);
    again.order.encode(reencoded.data());
    EXPECT_EQ(reencoded, b);
}

// Adding and taking out once are checked with the interruptions below.
TEST_F(PurchaseOrders, ReceivingAgainAddsOnlyWhatArrivedSince)
{
    PurchaseOrderDesk desk = savedOrder();
    ASSERT_TRUE(desk.Receive(local, Stock::Add, prompts));
    said.clear();
    EXPECT_FALSE(desk.Receive(local, Stock::Add, prompts));  // nothing more arrived
    EXPECT_FALSE(said.empty());
    EXPECT_EQ(std::tuple(stockOf(1), stockOf(2)), std::tuple(15.0f, 43.0f));
    desk.order.lines[0].backOrder = 0;  // the back-order came in
    desk.markUnsaved();
    ASSERT_TRUE(desk.Receive(local, Stock::Add, prompts));
    EXPECT_EQ(std::tuple(stockOf(0), stockOf(1), stockOf(2)), std::tuple(7.0f, 17.0f, 43.0f));
    const auto b = orderBytes();
    EXPECT_EQ(std::pair(rawbytes::f32(b, 52 + 68), b[4]), std::pair(12.0f, std::uint8_t{1}));
}

TEST_F(PurchaseOrders, ALineWithoutAVendorNumberMatchesNoProductAndIsListed)
{
    PurchaseOrderDesk desk;
    desk.AddProduct("", "Loose item", 1, 4);
    desk.AddProduct("V-100", "Bolt", 1, 2);
    desk.AddProduct("V-999", "Gone", 1, 1);
    desk.order.number = "7";
    ASSERT_TRUE(desk.Receive(local, Stock::Add, prompts));
    EXPECT_EQ(stockOf(0), 7);
    EXPECT_EQ(stockOf(1), 7);
    EXPECT_EQ(desk.order.lines[0].received, 0);
    EXPECT_EQ(desk.order.lines[2].received, 0);
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0], "No product has the Vendor# of these lines; their goods were not counted:\n\n"
                       "Line 1: (no Vendor#)\nLine 3: V-999\n");
}

TEST_F(PurchaseOrders, NumbersThatCannotNameAFileAndFilesThatAreNotTheOpenOneAreRefused)
{
    const std::pair<const char*, const char*> refused[] = {
        {"12/3", "\"/\""}, {"..\\up", "\"\\\""}, {"A:B", "\":\""}, {"why?", "\"?\""}, {"tab\tbed", "a control character"}};
    for (const auto& [number, named] : refused) {
        PurchaseOrderDesk desk;
        desk.AddProduct("V-100", "Bolt", 1, 1);
        desk.order.number = number;
        said.clear();
        EXPECT_FALSE(desk.Save(local, prompts)) << number;
        EXPECT_TRUE(desk.unsaved());
        ASSERT_EQ(said.size(), 1u);
        EXPECT_NE(said[0].find(std::string("cannot hold ") + named), std::string::npos) << said[0];
    }
    PurchaseOrderDesk empty;
    empty.order.saved = 0;
    said.clear();
    EXPECT_FALSE(empty.Save(local, prompts));
    EXPECT_EQ(said, std::vector<std::string>{"Must have a PO Number."});

    // Another order under the same number is replaced only when the user says so.
    savedOrder();
    const auto stored = orderBytes();
    PurchaseOrderDesk other;
    other.AddProduct("V-200", "Nut", 1, 1);
    other.order.number = "1001";
    answers = {false};
    said.clear();
    EXPECT_FALSE(other.Save(local, prompts));
    EXPECT_EQ(said, std::vector<std::string>{"There is already a PO file PO-1001.PON.\n\nDo you want to replace it?"});
    EXPECT_EQ(orderBytes(), stored);
    answers = {true};
    EXPECT_TRUE(other.Save(local, prompts));
    EXPECT_EQ(rawbytes::u16(orderBytes(), 2), 1);
}

TEST_F(PurchaseOrders, ADamagedFileIsRefusedAndChangesNothing)
{
    PurchaseOrderDesk source = savedOrder();
    const auto good = orderBytes();
    auto with = [&](std::size_t at, std::vector<std::uint8_t> bytes) {
        auto b = good;
        std::copy(bytes.begin(), bytes.end(), b.begin() + static_cast<long>(at));
        return b;
    };
    const std::pair<const char*, std::vector<std::uint8_t>> damaged[] = {
        {"version 3", with(0, {3, 0})},
        {"301 lines", with(2, {0x2d, 0x01})},
        {"-1 lines", with(2, {0xff, 0xff})},
        {"short", std::vector<std::uint8_t>(good.begin(), good.end() - 1)},
        {"empty", {}},
    };
    for (const auto& [name, bytes] : damaged) {
        writeBytes(dir.file("PO-bad.PON"), bytes);
        PurchaseOrderDesk desk = source;
        said.clear();
        EXPECT_FALSE(desk.Open(local, dir.file("PO-bad.PON"), prompts)) << name;
        EXPECT_EQ(said, std::vector<std::string>{"Sorry, this PO file version is not compatible."}) << name;
        EXPECT_EQ(desk.order.number, "1001") << name;
        EXPECT_EQ(desk.lineCount(), 2) << name;
        EXPECT_EQ(readBytes(dir.file("PO-bad.PON")), bytes) << name;
    }
    // A stored first visible line past the lines is held to them.
    writeBytes(dir.file("PO-far.PON"), with(8, {0xe7, 0x03, 0, 0}));
    PurchaseOrderDesk desk;
    ASSERT_TRUE(desk.Open(local, dir.file("PO-far.PON"), prompts));
    EXPECT_EQ(desk.order.firstVisible, 0);
}

TEST_F(PurchaseOrders, AnOrderReceivedAtAnotherRegisterIsNotReceivedOrSavedAgainFromAStaleCopy)
{
    savedOrder();
    PurchaseOrderDesk here, there;
    ASSERT_TRUE(here.Open(local, PurchaseOrderDesk::PathFor(local, "1001"), prompts));
    ASSERT_TRUE(there.Open(local, PurchaseOrderDesk::PathFor(local, "1001"), prompts));
    ASSERT_TRUE(there.Receive(local, Stock::Add, prompts));
    const auto received = orderBytes();
    const std::string changed =
        "This PO has been changed at another register since it was opened here.\n\nOpen it again to see the changes.";
    said.clear();
    EXPECT_FALSE(here.Receive(local, Stock::Add, prompts));
    here.order.shipping = 4;
    here.markUnsaved();
    EXPECT_FALSE(here.Save(local, prompts));
    EXPECT_EQ(said, (std::vector<std::string>{changed, changed}));
    EXPECT_EQ(stockOf(1), 15);
    EXPECT_EQ(orderBytes(), received);
}

// Receiving and taking out again, interrupted at every file operation (failing
// once, the power cut): after the next register's recovery the stock and the
// order are both as before or both as after; a failure reported is a change
// not made.
TEST_F(PurchaseOrders, ReceivingInterruptedAnywhereLeavesStockAndOrderTogether)
{
    using A = FileFaults::Action;
    struct State {
        float bolt, nut, received;
        std::uint8_t added;
        bool operator==(const State&) const = default;
    };
    const std::string orderPath = PurchaseOrderDesk::PathFor(local, "1001");
    auto seen = [&] {
        // The next register: a read of the order rolls back what a dead one left.
        PurchaseOrderRecord r;
        PurchaseOrderFile::Read(orderPath, local.GetPath("Products"), r);
        EXPECT_FALSE(journalHoldsAChange(dir.path()));
        const auto b = orderBytes();
        return State{stockOf(1), stockOf(2), rawbytes::f32(b, 52 + 68), b[4]};
    };
    PurchaseOrderDesk start = savedOrder();
    const auto products = readBytes(local.GetPath("Products"));
    const auto order = orderBytes();
    const State before{5, 40, 0, 0}, added{15, 43, 10, 1};
    PurchaseOrderDesk afterAdd = start;
    ASSERT_TRUE(afterAdd.Receive(local, Stock::Add, prompts));
    const auto addedProducts = readBytes(local.GetPath("Products"));
    const auto addedOrder = orderBytes();

    for (const Stock direction : {Stock::Add, Stock::Sub}) {
        const PurchaseOrderDesk& from = direction == Stock::Add ? start : afterAdd;
        const State was = direction == Stock::Add ? before : added, wanted = direction == Stock::Add ? added : before;
        for (const A action : {A::Fail, A::PowerCut}) {
            bool completed = false;
            for (long nth = 1; !completed && nth < 100; ++nth) {
                writeBytes(local.GetPath("Products"), direction == Stock::Add ? products : addedProducts);
                writeBytes(orderPath, direction == Stock::Add ? order : addedOrder);
                PurchaseOrderDesk desk = from;
                bool done = false;
                if (action == A::Fail) {
                    FileFaults::arm(nth, action, true);
                    done = desk.Receive(local, direction, prompts);
                    completed = FileFaults::count() < nth;
                    FileFaults::disarm();
                } else {
                    const int code = exitCodeOf([&] {
                        FileFaults::arm(nth, action, true, static_cast<unsigned>(nth));
                        return desk.Receive(local, direction, prompts) ? 0 : 1;
                    });
                    ASSERT_TRUE(code == 0 || code == 86) << "failed without a fault at " << nth;
                    completed = done = code == 0;
                }
                const State now = seen();
                if (action == A::Fail || done)
                    EXPECT_EQ(now, done ? wanted : was) << "fault at " << nth;
                else
                    EXPECT_TRUE(now == wanted || now == was) << "power cut at " << nth;
                if (action == A::Fail && !done) {  // the retry applies the change once
                    EXPECT_TRUE(desk.Receive(local, direction, prompts)) << nth;
                    EXPECT_EQ(seen(), wanted) << "the retry after " << nth;
                }
            }
            EXPECT_TRUE(completed);
        }
    }
}
}  // namespace
