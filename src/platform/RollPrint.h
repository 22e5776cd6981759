#pragma once
// Roll documents rendered for a receipt printer: as dots for an ESC/POS raster
// on a raw queue, or as a PDF page of the roll's width and the receipt's
// length for a driver queue (never a sheet size).

#include "print/EscPos.h"
#include "print/canvas/PrintCanvas.h"

#include <functional>
#include <optional>
#include <string>

// The document drawn `dots` wide at 203 dots an inch, to its last drawn row.
DotRows RenderRollDots(int dots, const std::function<void(PrintCanvas&)>& draw);

// One page of the roll's width (58 or 80 mm), as long as the document.
std::optional<std::string> RenderRollPdf(int rollWidthMm, const std::string& title,
                                         const std::function<void(PrintCanvas&)>& draw);
