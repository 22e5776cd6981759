// The sale screen's commands on stored sales and quotes: "Edit This Sale" and
// the "Quotes" menu. What they do to the files lives in SaleEditing and
// QuoteLoading; here are the questions, messages and windows.
#include "sale/CSaleDlg.h"

#include "platform/BackgroundWork.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "print/CSalePrinter.h"
#include "sale/CQuoteDlg.h"
#include "sale/SaleEditing.h"
#include "settings/SecurityGate.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/PaymentFile.h"
#include "storage/files/QuoteFile.h"

namespace {

const char* const kQuoteNotSaved =
    "The quote could not be saved: the quote file could not be written.\n\nNothing was stored; the sale stays on "
    "the screen.";
const char* const kQuotesHelp =
    "Quotes\n\nSave stores the sale on the screen as a quote; the screen keeps the sale.\n"
    "Print... prints the sale on the screen as a quote.\n"
    "Find... lists the quotes saved between two dates: click a quote (or press Enter) to bring it onto the "
    "screen as a new sale; the right mouse button (or the menu key) offers Edit and Delete.\n\n"
    "A quote takes nothing from stock. It stays saved when it is loaded, so it can become any number of sales.";

}  // namespace

void CSaleDlg::EditThisSale()
{
    if (SecurityGate(local_))
        return;
    state_.RefreshCount(BackgroundWork::RunnerFor(this, BackgroundWork::kReadingNote));
    if (state_.showingNew()) {
        MessageBox::information(this, "No need to edit this sale.\nIt has not been saved.\n\n");
        return;
    }
    if (MessageBox::show(this,
                         "\nEdit sale has returned all items back to inventory\n\nAfter making changes, process "
                         "this sale normaly.\n\n",
                         MessageBox::Buttons::OkCancel) != MessageBox::Answer::Ok)
        return;
    SaleEditing editing(state_);
    if (editing.BeginEdit(BackgroundWork::RunnerFor(this, BackgroundWork::kReadingNote)) == SaleEditing::Result::Failed)
        MessageBox::information(this, "This sale was not taken for editing: " + FaultText(editing.fault()) +
                                          ".\n\nNothing was changed.");
    AfterMove();
}

void CSaleDlg::OnQuoteSave()
{
    CommitFocused();
    InvoiceRecord quote = state_.current;  // the screen keeps its sale as it is
    const CalendarTime now = Clock::now();
    const CLocalFile local = local_;
    int saved = -1;
    BackgroundWork::Run(this, [&] { saved = SaveQuote(local, quote, now); });
    if (saved < 0)
        MessageBox::information(this, kQuoteNotSaved);
}

void CSaleDlg::OnQuotePrint()
{
    CommitFocused();
    CSalePrinter::PrintWithDialog(this, local_, header_, state_.current, SaleDocument::Quote);
}

void CSaleDlg::PrintStoredSale(SaleDocument document)
{
    if (!state_.showingNew())
        PrintCopy(this, local_, header_, state_.current, document);
}

void CSaleDlg::PrintCopy(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                         const InvoiceRecord& sale, SaleDocument document)
{
    CSalePrinter::PrintWithDialog(parent, local, header, sale, document, PaymentsText(local, sale.recordNumber),
                                  PrintOutput::Printer, false);
}

void CSaleDlg::OnQuoteFind()
{
    CommitFocused();
    CQuoteDlg quotes(local_, header_, state_, this);
    quotes.exec();
    if (!quotes.loaded())
        state_.GoCurrent();
    AfterMove();
}

void CSaleDlg::OnQuoteHelp() { MessageBox::information(this, kQuotesHelp); }
