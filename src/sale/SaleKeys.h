#pragma once
// Control ids of the sale screen and the Ctrl+arrow moves between them.

namespace SaleIds {
constexpr int kItem = 1000;      // + row, item-number column
constexpr int kQty = 1012;       // + row
constexpr int kDescription = 1024;
constexpr int kMarkdown = 1036;
constexpr int kPrice = 1068;
constexpr int kExtended = 1080;
constexpr int kStock = 1117;
constexpr int kRows = 12;

constexpr int kChangeCalc = 1129;
constexpr int kCustomerName = 1132;  // address boxes 1132..1140
constexpr int kLastAddress = 1140;
constexpr int kRecordNumber = 1215;
constexpr int kCalendar = 1218;
constexpr int kTodaysNotes = 1219;
constexpr int kCustomerGroup = 1220;
constexpr int kPayType = 1221;
constexpr int kDiscount = 1236;
constexpr int kSubtotal = 1237;
constexpr int kTax1 = 1238;
constexpr int kTax2 = 1239;
constexpr int kHandling = 1240;
constexpr int kTotal = 1242;
constexpr int kFinishSale = 1245;
constexpr int kPrev = 1246;
constexpr int kNext = 1248;
constexpr int kCurrent = 1250;
constexpr int kRecords = 1252;
constexpr int kCashier = 1258;
constexpr int kSalesperson = 1261;
constexpr int kTaxLabel = 1263;
constexpr int kPaid = 1264;
constexpr int kChange = 1266;
constexpr int kGoto = 1267;
constexpr int kBanner = 1269;
constexpr int kGetProduct = 1331;
constexpr int kFileLocation = 1332;
constexpr int kTouch = 1376;
constexpr int kScrollBar = 1434;
constexpr int kTaxZone = 1740;
constexpr int kPaidState = 1767;
}  // namespace SaleIds

enum class Arrow { Up, Down, Left, Right };

// The control that Ctrl+arrow moves the focus to from a control; the control
// itself when the move stays (or the control or direction has no move).
int CtrlArrowTarget(int controlId, Arrow arrow);
