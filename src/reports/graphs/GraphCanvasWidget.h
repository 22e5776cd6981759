#pragma once
// What the graph windows share: the canvas a graph is painted on (client
// pixels, a fixed size), the painting steps every graph uses (the framed plot,
// sunken edges, the 14-pixel Arial texts, bar panels), and the buttons that
// print a graph or save it as a picture or a PDF.

#include "reports/graphs/SaleFigures.h"

#include <QColor>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QDialog;
class QHBoxLayout;
class QPainter;

// One text a graph drew, where it drew it.
struct GraphText {
    QRect rect;
    QString text;
};

class GraphCanvasWidget : public QWidget {
    Q_OBJECT
public:
    using Paint = std::function<void(GraphCanvasWidget&, QPainter&)>;
    GraphCanvasWidget(QWidget* parent, QSize size, Paint paint);

    // Writes text in the graph's font (14-pixel Arial) and remembers it.
    void text(QPainter& p, const QRect& rect, int flags, const QString& text);
    // The texts of the last painting, in the order drawn.
    const std::vector<GraphText>& texts() const { return texts_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    Paint paint_;
    std::vector<GraphText> texts_;
};

QColor ToQColor(const GraphColour& c);
// The recessed look of a control's border, inside rect.
void SunkenEdge(QPainter& p, const QRect& rect);
// The white frame 10 pixels around the plot, with its sunken edge; when the
// scale is empty, "No sales" in its middle.
void GraphFrame(GraphCanvasWidget& canvas, QPainter& p, const QRect& plot, bool noSales);

// A panel of bars standing on 0 in `plot`, one per value, each `slot` pixels
// wide from the plot's left; values flagged absent draw no bar. Its scale's
// ends are written left of the frame in `format` (a printf format of one int),
// the caption above the frame and `side`, when given, between the ends.
struct BarPanel {
    QRect plot;
    std::vector<double> values;
    std::vector<bool> present;  // empty: all present
    double slot = 1;
    QColor colour, loss;  // bars above 0, below 0
    const char* format = "%d";
    QString caption, side;
};
void DrawBarPanel(GraphCanvasWidget& canvas, QPainter& p, const BarPanel& panel);

// "Print", "Preview", "Save..." for the graph `area` (the canvas, with any
// controls drawn with it) and "OK", which closes the dialog.
QHBoxLayout* GraphButtonRow(QDialog* dialog, QWidget* area, const std::string& name);
