#pragma once
// The "Date Range" group of the hour graphs: "First Day:" and "Last Day:",
// first shown as the days of the first and the last stored sale. A new range
// is announced once a box is left or Enter pressed in it, or a day is picked
// on the drop-down calendar, not at every digit typed.

#include <QGroupBox>
#include <QDate>

class CLocalFile;
class QDateEdit;

class GraphRangeWidget : public QGroupBox {
    Q_OBJECT
public:
    GraphRangeWidget(const CLocalFile& local, QWidget* parent);
    int firstKey() const;
    int lastKey() const;
    // Shows this range again without announcing it (a pass that was cancelled).
    void restore(int firstKey, int lastKey);

signals:
    void changed();

protected:
    // Enter in a box takes the range; it does not press the window's default button.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void edited();

    QDateEdit* first_ = nullptr;
    QDateEdit* last_ = nullptr;
    int shownFirst_ = 0, shownLast_ = 0;  // the range last announced
};
