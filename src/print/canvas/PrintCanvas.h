#pragma once
// What the printed layouts draw on: one document of pages in device units,
// origin at the top left of the printable area. Texts are record text
// (Windows-1252 bytes), converted once by the implementation. The Qt print
// frame implements it over a printer or a PDF; layouts stay free of Qt.

#include <string>

struct PrintRect {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    double width() const { return right - left; }
    double height() const { return bottom - top; }
};

// Text placement within its rectangle; text is always clipped to it.
enum PrintTextFlags : unsigned {
    kPrintLeft = 0,
    kPrintCenter = 1,
    kPrintRight = 2,
    kPrintVCenter = 4,  // one line, centred vertically
    kPrintWordWrap = 8,
};

struct PrintFont {
    std::string face;  // "Arial" or "Courier"
    double height = 0;  // cell height in device units
    int weight = 400;
};

class PrintCanvas {
public:
    virtual ~PrintCanvas() = default;

    // The printable area; left and top are 0.
    virtual PrintRect page() const = 0;
    // Ends the current page and starts the next one (the document starts with
    // its first page). False when the device refuses.
    virtual bool newPage() = 0;

    virtual void setFont(const PrintFont& font) = 0;
    // Height of one line ("Font Height") in the current font.
    virtual double lineHeight() = 0;
    // Height the text takes in a rectangle of that width with those flags.
    virtual double textHeight(const std::string& text, double width, unsigned flags) = 0;

    virtual void text(const PrintRect& rect, unsigned flags, const std::string& text) = 0;
    virtual void line(double x1, double y1, double x2, double y2) = 0;
    virtual void frame(const PrintRect& rect) = 0;
    // Draws a bitmap file at its pixel size with its top left at (x, y); gives
    // its height. False, drawing nothing, when the file cannot be drawn.
    virtual bool bitmap(const std::string& path, double x, double y, double& height) = 0;
};
