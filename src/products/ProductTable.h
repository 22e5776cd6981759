#pragma once
// The rows of a product list window: the records as the file holds them
// (320 bytes each), decoded and formatted one cell at a time when the view asks.
// Listing is one read of the file and one copy of its bytes, never zero-filled first.

#include "storage/files/ProductFile.h"
#include "storage/files/RecordBytes.h"
#include "storage/records/ProductRecord.h"

#include <cstdint>
#include <string>
#include <vector>

class ProductTable {
public:
    // Which columns a row shows: search rows lack the commission and mode; "List
    // All" rows and a row the editor saved show every column.
    enum class Form : std::uint8_t { List, Search, Saved };

    // Replaces the rows with every product. Returns the open cause.
    int listAll(const CLocalFile& local);
    // Replaces the rows with the products matching the search (one pass).
    int listMatching(const CLocalFile& local, const ProductSearch& search);

    std::size_t size() const { return forms_.size(); }
    ProductRecord record(std::size_t row) const;
    std::string itemNumber(std::size_t row) const;
    // The text of a cell in the lists' formats.
    std::string cell(std::size_t row, int column) const;
    std::vector<std::string> itemNumbers() const;
    // Every row's cells, as the printed product list takes them.
    std::vector<std::vector<std::string>> textRows() const;

    void insertFront(const ProductRecord& record, Form form);
    void replace(std::size_t row, const ProductRecord& record);
    void remove(std::size_t row);
    void clear();

private:
    const std::uint8_t* at(std::size_t row) const { return bytes_.data() + row * ProductRecord::kSize; }

    RecordBytes bytes_;
    std::vector<Form> forms_;
};

// A search from the windows' boxes (record text): item and vendor numbers cut
// to 23 characters, the names to 39, all lower-cased.
ProductSearch SearchFromBoxes(const std::string& itemNumber, const std::string& vendorNumber,
                              const std::string& description, const std::string& vendor,
                              const std::string& category, const std::string& department);

// True when the encoded record matches the search (MatchesSearch on the bytes).
bool MatchesSearchBytes(const std::uint8_t* rec, const ProductSearch& search);
