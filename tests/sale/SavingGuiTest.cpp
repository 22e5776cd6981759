// Saving while another register holds a file: the sale screen stays alive,
// takes no second command, shows that it waits, asks whether to keep waiting,
// and stores the change once when the file is let go.
#include "receivables/CPaymentDlg.h"
#include "reports/CSalesSummaryDlg.h"
#include "reports/CScanProgressDlg.h"
#include "reports/graphs/CMonthGraphDlg.h"
#include "sale/CQuoteDlg.h"
#include "storage/files/QuoteFile.h"
#include "storage/files/PaymentFile.h"
#include "storage/io/FileWait.h"
#include "support/ModalDriver.h"
#include "support/SaleScreenFixture.h"
#include "support/StoredRecords.h"
#include "support/WhileWorking.h"
#include "support/WindowKeys.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <vector>

using namespace SaleIds;

using Saving = SaleScreenFixture;

TEST_F(Saving, AHeldFileIsWaitedForWithTheNoteAndTheQuestionAndTheChangeIsStoredOnce)
{
    struct Case {
        const char* held;
        std::function<void()> prepare, change;
        std::function<int()> done;  // how many times the change was made
        const char* note = "Saving...";
    };
    const auto toStoredSale = [&] { key(Qt::Key_PageUp); };
    // The command's own question comes after the wait for the sales file.
    const auto command = [&](const char* action) {
        return [this, action] {
            boxes.answer(MessageBox::Answer::Ok);
            menu(action);
        };
    };
    const Case cases[] = {
        {"Payments",
         [&] {
             key(Qt::Key_PageUp);
             whenModal<CPaymentDlg>([](CPaymentDlg* p) {
                 retype(p, "amount", "4");
                 press(p, "ok");
             });
         },
         [&] { menu("action_pay_this_sale"); },
         [&] { return static_cast<int>(PaymentsOfSale(local, 0).size()); }},
        {"Invoices",
         [&] {
             typeInto(kItem, "A");
             choosePayType("Cash");
             typeInto(kPaid, "20");
         },
         [&] { key(Qt::Key_F9); },
         [&] { return storedSales(local) - 1; }},
        {"Invoices", toStoredSale, command("action_edit_sale"),
         [&] { return dlg->state().editingStored() ? 1 : 0; }, "Reading..."},
        {"Invoices", toStoredSale, command("action_void_sale"),
         [&] { return storedSale(local, 1).description[0].rfind("VOIDED - ", 0) == 0 ? 1 : 0; }, "Reading..."},
    };
    const int waitBefore = FileWait::waitBeforeAsking();
    FileWait::setWaitBeforeAsking(0);  // the question comes at once
    ASSERT_EQ(storeSale(local, SaleSpec().item("A").total(10).payType("Terms")), 0);
    addProducts({saleProduct("A", 10)});
    noCashierChoice();
    for (const Case& c : cases) {
        open();
        c.prepare();
        DataFile otherRegister;
        ASSERT_EQ(otherRegister.tryOpen(local.GetPath(c.held), OpenMode::OpenOrCreate), FileCause::None);
        boxes.clear();
        boxes.onShow([&](const std::string& text) {
            if (text.find("Keep waiting?") != std::string::npos)
                otherRegister.close();
        });
        boxes.answer(MessageBox::Answer::Yes);
        WhileWorking during([&] {
            QLabel* note = BackgroundWork::note();
            ASSERT_NE(note, nullptr);
            EXPECT_FALSE(note->isVisible()) << c.held;
            BackgroundWork::takeNextStep();
            EXPECT_EQ(note->text(), c.note);
            EXPECT_TRUE(note->isVisible());
            EXPECT_EQ(dlg->childAt(note->geometry().center()), note) << "the note is covered";
            // Taken by nothing while the change is on its way.
            QTest::keyClick(dlg->control(kItem), Qt::Key_F9);
            EXPECT_FALSE(dlg->close());
            BackgroundWork::takeNextStep();
            EXPECT_EQ(note->text(), BackgroundWork::kStillWaitingNote);
        });
        c.change();
        boxes.onShow(nullptr);
        EXPECT_GE(during.started(), 1) << c.held;
        EXPECT_TRUE(boxes.saw("Another register is using this file")) << c.held;
        EXPECT_EQ(c.done(), 1) << c.held;
        EXPECT_EQ(dlg->findChild<QLabel*>("waiting_note"), nullptr);
        EXPECT_TRUE(dlg->isVisible());
    }
    EXPECT_EQ(storedStock(local, "A"), 10);  // sold, then voided
    FileWait::setWaitBeforeAsking(waitBefore);
}

// A file call that does not come back (the kernel holding it during a lease
// break on a network share) is asked about all the same; "No" stores nothing,
// unless the change has begun to be written. A call that fails says why.
TEST_F(Saving, AHeldFileCallIsAskedAboutAndNoStoresNothingUntilTheWritingBegins)
{
    using Answer = MessageBox::Answer;
    using Call = FileFaults::Call;
    struct Case {
        Call call;
        int fails;                    // errno; 0: the call is held until the steps are taken
        std::vector<Answer> answers;  // to the question, asked at each step after the note
        int stored;
        const char* lastNote;
        const char* told;  // the refusal
    };
    const Case cases[] = {
        {Call::Open, 0, {Answer::Yes, Answer::Yes}, 1, BackgroundWork::kStillWaitingNote, nullptr},
        {Call::Open, 0, {Answer::Yes, Answer::No}, 0, BackgroundWork::kGivingUpNote,
         "the wait for the sales file was given up.\n\nNothing was stored and no stock was taken"},
        {Call::Write, 0, {}, 1, BackgroundWork::kWritingNote, nullptr},
        {Call::Read, EACCES, {}, 0, nullptr, "the system refused access to the journal of the data files.\n\nNothing"},
        {Call::Read, EIO, {}, 0, nullptr,
         "the journal of the data files could not be read. The disk or the network share reported an input/output error.\n\n"},
    };
    ASSERT_EQ(storeSale(local, SaleSpec().item("A").total(10).payType("Cash")), 0);  // the sales file is there
    addProducts({saleProduct("A", 10)});
    noCashierChoice();
    for (const Case& c : cases) {
        open();
        typeInto(kItem, "A");
        choosePayType("Cash");
        typeInto(kPaid, "20");
        const int sales = storedSales(local);
        const auto stock = storedStock(local, "A");
        boxes.clear();
        for (Answer a : c.answers)
            boxes.answer(a);
        if (c.told)
            boxes.answer(Answer::Ok);
        FileFaults::failNext(c.call, c.fails);
        WhileWorking during([&] {
            if (c.fails)
                return;
            FileFaults::waitUntilHeld();
            BackgroundWork::takeNextStep();  // the note
            for (std::size_t i = 0; i < std::max<std::size_t>(c.answers.size(), 1); ++i)
                BackgroundWork::takeNextStep();
            EXPECT_EQ(BackgroundWork::note()->text(), c.lastNote);
            FileFaults::letGo();
        });
        key(Qt::Key_F9);
        const auto& texts = boxes.texts();
        EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                                [](const std::string& t) { return t.find("Keep waiting?") != std::string::npos; }),
                  static_cast<long>(c.answers.size()));
        EXPECT_EQ(storedSales(local) - sales, c.stored);
        EXPECT_EQ(stock - storedStock(local, "A"), c.stored);
        if (c.told) {
            EXPECT_TRUE(boxes.saw(c.told)) << (texts.empty() ? "" : texts.back());
        }
    }
}

// A report's pass, and the loading of a quote, whose file call does not come
// back show that they wait and, with no progress for the interval, ask; "No"
// (or the progress window's "Cancel") shows no report and loads nothing, "Yes"
// shows it once the call comes back.
TEST_F(Saving, AReportOrQuoteWhoseFileCallIsHeldIsAskedAboutAndNoShowsNothing)
{
    using Answer = MessageBox::Answer;
    struct Case {
        const char* command;
        Answer answer;  // Cancel: the progress window's button, before any question
        const char* lastNote;
        int shown;
    };
    const char* const reading = "Reading the sales...";
    const Case cases[] = {
        {"action_sales_today", Answer::Yes, BackgroundWork::kStillWaitingNote, 1},
        {"action_sales_today", Answer::No, BackgroundWork::kStoppingNote, 0},
        {"action_sales_today", Answer::Cancel, nullptr, 0},
        {"action_graph_sales_by_month", Answer::No, BackgroundWork::kStoppingNote, 0},
        {"action_graph_sales_by_month", Answer::Yes, BackgroundWork::kStillWaitingNote, 1},
        {"action_quote_find", Answer::Yes, BackgroundWork::kStillWaitingNote, 1},
        {"action_quote_find", Answer::No, BackgroundWork::kGivingUpNote, 0},
    };
    ASSERT_EQ(storeSale(local, SaleSpec().item("A").total(10).payType("Cash")), 0);
    InvoiceRecord quote = ClearedInvoice();
    quote.itemNumber[0] = "A";
    ASSERT_GE(SaveQuote(local, quote, clock.now()), 0);
    noCashierChoice();
    const auto progress = []() -> CScanProgressDlg* {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = qobject_cast<CScanProgressDlg*>(w); p && p->isVisible())
                return p;
        return nullptr;
    };
    // The progress window's text when it is up, else the note's.
    const auto waiting = [&] {
        QLabel* note = BackgroundWork::note();
        return progress() ? progress()->labelText() : note && note->isVisible() ? note->text() : QString();
    };
    for (const Case& c : cases) {
        const bool isQuote = std::string(c.command) == "action_quote_find";
        open();
        boxes.clear();
        if (c.answer != Answer::Cancel)
            boxes.answer(c.answer);
        boxes.allowUnscriptedOk();
        ModalCounter<CSalesSummaryDlg> summaries;
        ModalCounter<CMonthGraphDlg> graphs;
        FileFaults::holdNext(FileFaults::Call::Open);
        WhileWorking during([&] {
            FileFaults::waitUntilHeld();
            BackgroundWork::takeNextStep();
            EXPECT_EQ(waiting(), isQuote ? BackgroundWork::kReadingNote : reading) << c.command;
            if (c.answer == Answer::Cancel) {
                if (CScanProgressDlg* p = progress())
                    QTest::mouseClick(p->findChild<QPushButton*>(), Qt::LeftButton);
                else
                    ADD_FAILURE() << "no progress window";
            } else {
                BackgroundWork::takeNextStep();
                EXPECT_EQ(waiting(), c.lastNote) << c.command;
            }
            FileFaults::letGo();
        });
        if (isQuote)
            whenModal<CQuoteDlg>([](CQuoteDlg* quotes) {
                QTest::keyClick(quotes->findChild<QAbstractItemView*>("quote_list"), Qt::Key_Return);
                if (quotes->isVisible())
                    quotes->reject();
            });
        menu(c.command);
        EXPECT_GE(during.started(), 1) << c.command;
        EXPECT_EQ(boxes.saw("Keep waiting?"), c.answer != Answer::Cancel) << c.command;
        EXPECT_FALSE(boxes.saw("Read Invoice error: Quote Not Found.")) << c.command;
        EXPECT_EQ(summaries.count() + graphs.count() + (text(kItem) == "A"), c.shown) << c.command;
    }
}
