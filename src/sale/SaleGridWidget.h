#pragma once
// The line grid of the sale screen: 12 rows of boxes over the sale's 20 line
// slots, with the scroll bar that chooses the first slot shown.

#include "sale/SaleControls.h"
#include "sale/SaleState.h"
#include "sale/ScanKeys.h"

#include <QWidget>

#include <array>
#include <map>
#include <vector>

class QKeyEvent;
class QScrollBar;
struct SalesFileHeader;

class SaleGridWidget : public QWidget {
    Q_OBJECT
public:
    enum class Column { Item, Stock, Qty, Description, Markdown, Price, Extended };
    struct Cell {
        Column column;
        int row;
    };
    static constexpr int kRows = SaleState::kRows;

    SaleGridWidget(QWidget* parent, const RegisterControlFn& reg);

    // The cell a box is, or nullptr for a widget outside the grid.
    const Cell* cellOf(const QObject* widget) const;
    QLineEdit* box(Column column, int row) const;

    void Show(const SaleState& state, const SalesFileHeader& header);
    void SetReadOnly(bool on);
    // Rows whose item-number box shows text, stored or still being typed.
    SaleState::ShownRows ShownFilled() const;
    // The editable boxes in Tab order, row by row.
    std::vector<QWidget*> TabOrder() const;

    // Watches a key on its way to a focused grid box. When it is the Enter
    // that ends a scan, returns the scanned code and gives the box back what
    // it held before the scan's first character; else returns empty.
    std::string WatchForScan(QWidget* focused, const QKeyEvent* key);
    // Gives the box a scan was typed into its text from before the scan again.
    void RestoreScanBox() { scan_.Restore(); }
    // The box the last scan was typed into.
    QLineEdit* scanBox() const { return scan_.box(); }
    ScanDetector& scanner() { return scan_.detector(); }

signals:
    void scrolled(int offset);

private:
    std::array<std::array<QLineEdit*, kRows>, 7> boxes_{};
    std::map<const QObject*, Cell> cells_;
    QScrollBar* scroll_ = nullptr;
    ScanKeys scan_;
};
