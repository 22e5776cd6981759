#include "purchasing/PurchaseOrderDesk.h"

#include "storage/files/CLocalFile.h"
#include "storage/files/PurchaseOrderFile.h"
#include "storage/journal/Transaction.h"
#include "storage/records/TextFormat.h"

#include <algorithm>
#include <filesystem>
#include <map>

namespace {
const char* const kChangedElsewhere =
    "This PO has been changed at another register since it was opened here.\n\nOpen it again to see the changes.";

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

std::vector<std::uint8_t> encoded(const PurchaseOrderRecord& order)
{
    std::vector<std::uint8_t> bytes(PurchaseOrderRecord::kSize);
    order.encode(bytes.data());
    return bytes;
}

bool holdsBytes(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::file_size(path, ec) > 0 && !ec;
}
}  // namespace

bool PurchaseOrderDesk::AddProduct(const std::string& vendorNumber, const std::string& description, float cost,
                                   float caseQty)
{
    if (order.lineCount >= static_cast<int>(PurchaseOrderRecord::kMaxLines))
        return false;
    PurchaseOrderLine& line = order.lines[static_cast<std::size_t>(order.lineCount++)];
    line = PurchaseOrderLine{};
    line.vendorNumber = vendorNumber.substr(0, PurchaseOrderLine::kVendorNumberWidth - 1);
    line.description = description.substr(0, PurchaseOrderLine::kDescriptionWidth - 1);
    line.cost = cost;
    line.qty = caseQty;
    Recompute();
    order.firstVisible = order.lastFirstVisible();
    markUnsaved();
    return true;
}

bool PurchaseOrderDesk::ClearLine(int index)
{
    if (index < 0 || index >= order.lineCount)
        return false;
    --order.lineCount;
    order.lines[static_cast<std::size_t>(index)] = order.lines[static_cast<std::size_t>(order.lineCount)];
    SetFirstVisible(order.firstVisible);
    Recompute();
    markUnsaved();
    return true;
}

void PurchaseOrderDesk::Recompute()
{
    float subtotal = 0;
    for (int i = 0; i < order.lineCount; ++i) {
        PurchaseOrderLine& line = order.lines[static_cast<std::size_t>(i)];
        line.amount = line.cost * line.qty;
        subtotal += line.amount;
    }
    order.subtotal = subtotal;
    order.total = subtotal - order.discount + order.shipping;
}

void PurchaseOrderDesk::SetFirstVisible(int line) { order.firstVisible = std::clamp(line, 0, order.lastFirstVisible()); }

void PurchaseOrderDesk::New()
{
    order.lineCount = 0;
    order.firstVisible = 0;
    order.added = 0;
    order.saved = 1;
    order.number.clear();
    Recompute();
    storedPath_.clear();
    storedBytes_.clear();
}

std::string PurchaseOrderDesk::PathFor(const CLocalFile& local, const std::string& number)
{
    return local.dataFolder() + PurchaseOrderFile::FileName(number);
}

bool PurchaseOrderDesk::Save(const CLocalFile& local, const DeskPrompts& prompts)
{
    if (order.number.empty()) {
        prompts.say("Must have a PO Number.");
        return false;
    }
    if (const std::string bad = PurchaseOrderFile::ForbiddenCharacter(order.number); !bad.empty()) {
        prompts.say(strprintf("The PO# cannot hold %s%s%s: it names the PO file.\n\nPlease change the PO#.",
                              bad.size() == 1 ? "\"" : "", bad.c_str(), bad.size() == 1 ? "\"" : ""));
        return false;
    }
    const std::string path = PathFor(local, order.number);
    const bool replacing = !openedHere(path) && holdsBytes(path);
    if (replacing && !prompts.ask(strprintf("There is already a PO file %s.\n\nDo you want to replace it?",
                                            PurchaseOrderFile::FileName(order.number).c_str())))
        return false;

    Transaction tx;
    tx.join(path, local.GetPath("Products"), OpenMode::OpenOrCreate);
    int cause = tx.begin();
    std::vector<std::uint8_t> stored;
    if (cause == FileCause::None && !PurchaseOrderFile::ReadBytes(tx.file(path), stored))
        cause = FileCause::Generic;
    if (cause == FileCause::None && !replacing && !stored.empty() && stored != storedBytes_) {
        prompts.say(kChangedElsewhere);
        return false;
    }
    PurchaseOrderRecord saved = order;
    saved.saved = 1;
    if (cause == FileCause::None) {
        PurchaseOrderFile::Stage(tx, tx.file(path), saved);
        cause = tx.commit();
    }
    if (cause != FileCause::None) {
        prompts.say(strprintf("The PO could not be saved in\n\n%s\n\nNothing was written.", path.c_str()));
        return false;
    }
    order.saved = 1;
    storedPath_ = path;
    storedBytes_ = encoded(saved);
    return true;
}

bool PurchaseOrderDesk::Open(const CLocalFile& local, const std::string& path, const DeskPrompts& prompts)
{
    PurchaseOrderRecord read = order;
    std::vector<std::uint8_t> bytes;
    const int cause = PurchaseOrderFile::Read(path, local.GetPath("Products"), read, &bytes);
    if (cause == PurchaseOrderFile::kIncompatible)
        prompts.say("Sorry, this PO file version is not compatible.");
    if (cause != FileCause::None)
        return false;
    order = read;
    order.saved = 1;
    storedPath_ = path;
    storedBytes_ = bytes;
    return true;
}

bool PurchaseOrderDesk::Receive(const CLocalFile& local, Stock direction, const DeskPrompts& prompts)
{
    // Received quantities live in the data folder's copy of the order only.
    if ((unsaved() || !openedHere(PathFor(local, order.number))) && !Save(local, prompts))
        return false;
    if (order.number.empty()) {
        prompts.say("Please enter a PO#.");
        return false;
    }
    if (direction == Stock::Sub && !order.added &&
        !prompts.ask("This PO has not been added to Inventory.\n\n Do you still want to remove it?"))
        return false;

    const std::string products = local.GetPath("Products");
    const std::string path = storedPath_;
    Transaction tx;
    tx.add(products);
    tx.join(path, products);
    int cause = tx.begin();
    std::vector<std::uint8_t> stored;
    if (cause == FileCause::None && !PurchaseOrderFile::ReadBytes(tx.file(path), stored))
        cause = FileCause::Generic;
    if (cause == FileCause::None && stored != storedBytes_) {
        prompts.say(kChangedElsewhere);
        return false;
    }

    std::vector<std::string> keys;
    for (int i = 0; i < order.lineCount; ++i)
        keys.push_back(lowered(order.lines[static_cast<std::size_t>(i)].vendorNumber));
    std::vector<long long> index;
    std::vector<float> stock;
    if (cause == FileCause::None)
        cause = PurchaseOrderFile::FindByVendorNumber(tx.file(products), keys, index, stock);

    PurchaseOrderRecord changed = order;
    changed.added = direction == Stock::Add ? 1 : 0;
    std::map<long long, float> newStock;  // by product index, lines applied in order
    std::string unmatched;
    bool anyToAdd = false;
    for (std::size_t i = 0; cause == FileCause::None && i < keys.size(); ++i) {
        PurchaseOrderLine& line = changed.lines[i];
        if (index[i] < 0) {
            unmatched += strprintf("Line %zu: %s\n", i + 1, line.vendorNumber.empty() ? "(no Vendor#)" : line.vendorNumber.c_str());
            continue;
        }
        float& s = newStock.try_emplace(index[i], stock[i]).first->second;
        if (direction == Stock::Add) {
            const float arriving = line.qty - line.received - line.backOrder;
            anyToAdd = anyToAdd || arriving != 0;
            s += arriving;
            line.received = line.qty - line.backOrder;
        } else {
            s -= line.received;
            line.received = 0;
        }
    }
    if (cause == FileCause::None && direction == Stock::Add && order.added && !anyToAdd) {
        prompts.say("This PO has already been added to Inventory.\n\nThere is nothing more to add.");
        return false;
    }
    if (cause == FileCause::None) {
        for (const auto& [at, value] : newStock)
            PurchaseOrderFile::StageStock(tx, tx.file(products), at, value);
        PurchaseOrderFile::Stage(tx, tx.file(path), changed);
        cause = tx.commit();
    }
    if (cause != FileCause::None) {
        prompts.say("The inventory could not be changed.\n\nNeither the stock nor the PO was changed.");
        return false;
    }
    order = changed;
    storedBytes_ = encoded(changed);
    if (!unmatched.empty())
        prompts.say("No product has the Vendor# of these lines; their goods were not counted:\n\n" + unmatched);
    return true;
}
