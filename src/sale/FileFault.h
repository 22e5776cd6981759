#pragma once
// Why a change to the data files was refused, in the cashier's words: which
// file (sales, products, payments, customers, rentals) and what kept it from
// being changed. Every refused change says this and that nothing changed.

#include <string>
#include <vector>

class CLocalFile;

struct FileFault {
    // The file's kind as CLocalFile::GetPath names it ("Invoices", "Products",
    // ...); empty when no one file can be named.
    std::string kind;
    int cause = 0;  // a FileCause
    // The change was refused while its writes went to disk.
    bool writing = false;
};

// "the products file is in use at another register ..." and the like.
std::string FaultText(const FileFault& fault);

// A change over these files was refused with `cause` before anything was
// written (the locks were given up again). The first of them, in the order
// they are locked, that still cannot be opened for a change names the file,
// with its own cause; when every one opens now, the cause stays unnamed.
FileFault FaultAmong(const CLocalFile& local, const std::vector<std::string>& kinds, int cause);
