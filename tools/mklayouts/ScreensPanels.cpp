// Layouts of the management screens: the orange finance frame with its tabs and its five screens,
// the food shop, the blue tab strip with the kind frames and their panels, and the building
// descriptions.

#include "Screens.h"

#include "mkpictures/Canvas.h"

using namespace art;
using geo::buttonAt;
using geo::card;

namespace {

Caption captionIn(const std::string& key, int style, int w, int h)
{
    return Caption{key, style, Rect{40, 2, w - 48, h - 4}};
}

void closeButton(Layout& l)
{
    l.button("close", geo::kFrameClose, round(Tone::Red, Icon::Close), "oi");
}

void frameTitle(Layout& l, const std::string& key)
{
    l.label(key, font::kTitle, geo::kFrameTitle);
}

// The frame's boxes, relative to the frame picture.
std::vector<Rect> relative(const std::vector<Rect>& boxes)
{
    std::vector<Rect> out;
    for (Rect r : boxes)
        out.push_back(Rect{r.x - geo::kFrame.x, r.y - geo::kFrame.y, r.w, r.h});
    return out;
}

std::vector<Rect> threeCards()
{
    return relative({card(0), card(1), card(2)});
}

// Rows of the pet frames (hosted pets, trick teaching), under a header line.
Rect petRow(int r)
{
    return Rect{124, 204 + r * 130, 776, 120};
}

std::vector<Rect> threeRows()
{
    return relative({petRow(0), petRow(1), petRow(2)});
}

// ---- the finance tables: a row background and a row highlight, each a stripe, drawn by the
// table behind every row (the prices table's rows are its own)

void rowPictures(Layout& l, const char* highlightId, const char* backgroundId, bool highlightFirst, int w, int top,
                 int h)
{
    const Rect r{136, top, w, h};
    if (highlightFirst) {
        l.canvas(highlightId, r, stripe(Tone::Yellow, 0.45f), "");
        l.canvas(backgroundId, r, stripe(Tone::Grey, 0.16f), "");
    } else {
        l.canvas(backgroundId, r, stripe(Tone::Grey, 0.16f), "");
        l.canvas(highlightId, r, stripe(Tone::Yellow, 0.45f), "");
    }
}

// ---- the report tables (bank, statistics, ranking, achievements): rows in the report font,
// kReportRow px apart from y 200 (the tables' row step), headers above.

using geo::kReportRow;
const int kReportTop = 200;

Rect reportColumn(int x, int w)
{
    return Rect{x, kReportTop, w, kReportRow};
}

Rect reportHeader(int x, int w)
{
    return Rect{x, 174, w, 24};
}

// Their row pictures, placed 2 px higher than the rows and one pixel less high, sit behind the
// row's text as the tables draw them lower.
const int kReportPicturesTop = kReportTop - 2;
const int kReportRowPicture = kReportRow - 1;

// A box with icons painted in it, at rectangles in the box's own layout pixels.
struct IconAt {
    Icon icon;
    Tone tone;
    Rect r;
};

Painter boxWithIcons(Tone tone, float alpha, int layerWidth, const std::vector<IconAt>& icons)
{
    const Painter background = box(tone, alpha);
    return [background, layerWidth, icons](Canvas& c, float w, float h) {
        background(c, w, h);
        const float s = w / static_cast<float>(layerWidth);
        const Affine saved = c.transform();
        for (const IconAt& i : icons) {
            c.set_transform(Affine::translate(static_cast<float>(i.r.x) * s, static_cast<float>(i.r.y) * s).then(saved));
            icon(i.icon, i.tone)(c, static_cast<float>(i.r.w) * s, static_cast<float>(i.r.h) * s);
        }
        c.set_transform(saved);
    };
}

// The box under a report with the cash (a coin) and the loan (the bank) lines, each 42 px high.
Painter cashBox(int width)
{
    return boxWithIcons(Tone::Yellow, 0.2f, width,
                        {{Icon::Coin, Tone::Yellow, Rect{16, 11, 28, 28}}, {Icon::Bank, Tone::Orange, Rect{16, 53, 28, 28}}});
}

// One picture for a report's table box (from the picture's top, tableHeight high) and its cash
// box (from cashTop), see-through between them; both as wide as the picture (784).
Painter tableAndCashBoxes(int tableHeight, int cashTop)
{
    const Painter table = box(Tone::Orange, 0.25f);
    const Painter cash = cashBox(784);
    return [table, cash, tableHeight, cashTop](Canvas& c, float w, float) {
        const float s = w / 784.0f;
        table(c, w, static_cast<float>(tableHeight) * s);
        const Affine saved = c.transform();
        c.set_transform(Affine::translate(0.0f, static_cast<float>(cashTop) * s).then(saved));
        cash(c, w, 96.0f * s);
        c.set_transform(saved);
    };
}

// ---- the cards of the buildings panels

struct PurchaseCard {
    Rect name, icon, maintenanceHeading, maintenance, requirementsHeading, price, buy, sell;
};

PurchaseCard purchaseCard(int k)
{
    const int x = card(k).x;
    return PurchaseCard{Rect{x + 8, 180, 228, 32},  Rect{x + 55, 214, 134, 100}, Rect{x + 12, 318, 220, 22},
                        Rect{x + 12, 340, 220, 24}, Rect{x + 12, 368, 220, 22},  Rect{x + 12, 390, 220, 100},
                        buttonAt(3, x + 10, 518),  buttonAt(4, x + 124, 518)};
}

struct CareCard {
    Rect name, icon, maintenanceHeading, maintenance, cleanHeading, cleanGauge, clean, conditionHeading,
        conditionGauge, repair;
};

// Care cards; without the maintenance lines (the other buildings) everything moves up to leave
// room for the browser below.
CareCard careCard(int k, bool maintenance)
{
    const int x = card(k).x;
    const int d = maintenance ? 0 : -44;
    return CareCard{Rect{x + 8, 180, 228, 32},       Rect{x + 62, 214, 120, 90},      Rect{x + 12, 306, 220, 22},
                    Rect{x + 12, 326, 220, 22},      Rect{x + 12, 352 + d, 220, 22},  Rect{x + 12, 374 + d, 160, 24},
                    buttonAt(0, x + 16, 416 + d),    Rect{x + 12, 440 + d, 220, 22},  Rect{x + 12, 462 + d, 160, 24},
                    buttonAt(0, x + 16, 504 + d)};
}

// The browser of the other buildings, three cards at a time: track, previous, knob, next.
void browser(Layout& l)
{
    l.canvas("track", Rect{200, 556, 624, 24}, track(Tone::Blue));
    l.button("previous", Rect{152, 548, 44, 40}, round(Tone::Blue, Icon::Left), "o");
    l.button("knob", Rect{200, 550, 72, 36}, knob(Tone::Yellow), "o");
    l.button("next", Rect{828, 548, 44, 40}, round(Tone::Blue, Icon::Right), "o");
}

void tab(Layout& l, const std::string& id, int k, int width, Tone tone, Icon icon, const std::string& key, int left)
{
    const Rect r{left + k * (width + 4), geo::kTabTop, width, geo::kTabHeight};
    const Caption caption = captionIn(key, font::kCaption, width, geo::kTabHeight);
    l.button(id, r, art::tab(tone, icon), "o", &caption);
}

} // namespace

// ---- the finance frame

Layout layoutMenuOrange()
{
    Layout l("MenuOrange");
    l.canvas("frame", geo::kFrame, panel(Tone::Orange, 64));
    return l;
}

Layout layoutMenuOrangeFolds()
{
    Layout l("MenuOrangeFolds");
    const char* ids[5] = {"tickets", "bank", "statistics", "achievements", "ranking"};
    const Icon icons[5] = {Icon::Ticket, Icon::Bank, Icon::Chart, Icon::Trophy, Icon::Podium};
    const char* keys[5] = {"tabtickets", "tabbank", "tabstatistics", "tabachievements", "tabranking"};
    for (int k = 0; k < 5; ++k)
        tab(l, ids[k], k, 160, Tone::Orange, icons[k], keys[k], 112);
    return l;
}

Layout layoutMenuTickets()
{
    Layout l("MenuTickets");
    closeButton(l);
    frameTitle(l, "ticketstitle");
    rowPictures(l, "highlight", "row", true, 660, 202, 21);   // rows 23 px apart
    l.label("name", font::kBody, Rect{152, 204, 380, 23});                  // item column
    l.label("name", font::kNumber, Rect{540, 204, 130, 23});                // price column
    // Change buttons at the rows with a price: 0, 1, 3, 4, 6, 7, 9, 11 (rows 23 px apart).
    const int rows[8] = {0, 1, 3, 4, 6, 7, 9, 11};
    for (int k = 0; k < 8; ++k)
        l.helper("change" + std::to_string(k + 1), geo::changeButton(rows[k]));
    l.canvas("table", Rect{128, 196, 784, 286}, box(Tone::Orange, 0.25f));
    l.label("priceitem", font::kSmall, Rect{152, 170, 300, 24});
    l.label("pricevalue", font::kSmall, Rect{560, 170, 120, 24});
    l.canvas("notebox", Rect{128, 490, 784, 100}, box(Tone::Orange, 0.25f));
    l.canvas("ticket", Rect{140, 506, 64, 64}, icon(Icon::Ticket, Tone::Orange));
    l.label("ticketsnote", font::kSmall, Rect{216, 496, 680, 62});
    l.canvas("coin", Rect{530, 168, 26, 26}, icon(Icon::Coin, Tone::Yellow));
    l.label("pricechange", font::kSmall, Rect{700, 170, 200, 24});
    l.label("priceshint", font::kSmall, Rect{216, 560, 680, 26});            // kept on one line
    return l;
}

Layout layoutMenuBank()
{
    Layout l("MenuBank");
    closeButton(l);
    frameTitle(l, "banktitle");
    // The report takes the left column's whole height; the cash box sits under the promotions.
    l.canvas("report", Rect{128, 168, 520, 420}, box(Tone::Orange, 0.25f));
    l.canvas("promotionsbox", Rect{664, 168, 240, 292}, box(Tone::Orange, 0.25f));
    l.label("name", font::kSmall, Rect{676, 208, 216, 244});                // the running promotion
    l.helper("promotion1", buttonAt(0, 678, 266));
    for (int k = 0; k < 3; ++k)
        l.label("name", font::kSmall, Rect{676, 208 + k * 84, 216, 40});    // promotion names
    l.helper("promotion2", buttonAt(0, 678, 350));
    l.helper("promotion3", buttonAt(0, 678, 434));
    // Borrow shows only without a loan and repay only with one: they share a place.
    l.helper("borrow", buttonAt(0, 678, 568));
    l.helper("repay", buttonAt(0, 678, 568));
    // The cash (a coin) and the loan (the bank) lines, as on the other reports.
    l.canvas("cashbox", Rect{664, 468, 240, 120},
             boxWithIcons(Tone::Yellow, 0.2f, 240,
                          {{Icon::Coin, Tone::Yellow, Rect{12, 10, 28, 28}},
                           {Icon::Bank, Tone::Orange, Rect{12, 52, 28, 28}}}));
    l.label("promotions", font::kCentred, Rect{676, 174, 216, 30});
    rowPictures(l, "highlight", "row", true, 504, kReportPicturesTop, kReportRowPicture);
    l.label("name", font::kReport, reportColumn(144, 290));                 // row names
    l.label("name", font::kReportNumber, reportColumn(440, 90));            // last month
    l.label("name", font::kReportNumber, reportColumn(540, 90));            // this month
    l.label("lastmonth", font::kReportNumber, reportHeader(410, 120));
    l.label("thismonth", font::kReportNumber, reportHeader(510, 120));
    l.label("name", font::kLine, Rect{708, 472, 188, 36});                  // cash
    l.label("name", font::kLine, Rect{708, 514, 188, 36});                  // loan
    return l;
}

Layout layoutMenuStatistics()
{
    Layout l("MenuStatistics");
    frameTitle(l, "statisticsheading");
    l.canvas("highlight", Rect{136, kReportPicturesTop, 768, kReportRowPicture}, stripe(Tone::Yellow, 0.45f), "");
    closeButton(l);
    l.label("statisticsnote", font::kSmall, Rect{144, 562, 752, 24});       // kept on one line
    l.canvas("table", Rect{128, 168, 784, 340}, box(Tone::Orange, 0.25f));
    // The cash and the loan side by side on one line.
    l.canvas("cashbox", Rect{128, 514, 784, 42},
             boxWithIcons(Tone::Yellow, 0.2f, 784,
                          {{Icon::Coin, Tone::Yellow, Rect{16, 7, 28, 28}},
                           {Icon::Bank, Tone::Orange, Rect{400, 7, 28, 28}}}));
    l.canvas("row", Rect{136, kReportPicturesTop, 768, kReportRowPicture}, stripe(Tone::Grey, 0.16f), "");
    l.label("name", font::kReport, reportColumn(144, 400));                 // row names
    l.label("name", font::kReportNumber, reportColumn(560, 110));           // last month
    l.label("name", font::kReportNumber, reportColumn(690, 110));           // this month
    l.label("lastmonth", font::kReportNumber, reportHeader(540, 130));
    l.label("thismonth", font::kReportNumber, reportHeader(670, 130));
    l.label("name", font::kLine, Rect{182, 517, 300, 36});                  // cash
    l.label("name", font::kLine, Rect{566, 517, 300, 36});                  // loan
    return l;
}

Layout layoutMenuRanking()
{
    Layout l("MenuRanking");
    closeButton(l);
    frameTitle(l, "rankingheading");
    l.canvas("table", Rect{128, 168, 784, 376}, tableAndCashBoxes(236, 280));  // the table, the cash box
    l.label("name", font::kLine, Rect{182, 455, 300, 36});                  // cash
    l.label("name", font::kLine, Rect{182, 497, 300, 36});                  // loan
    // The rows in the report font, as in the bank's and statistics' reports.
    l.label("rankplace", font::kReport, reportHeader(144, 60));
    l.label("name", font::kReport, reportColumn(144, 60));                  // place
    l.label("name", font::kReport, reportColumn(214, 420));                 // park
    l.label("rankpark", font::kReport, reportHeader(214, 200));
    l.label("name", font::kReportNumber, reportColumn(650, 140));           // popularity
    l.label("rankpopularity", font::kReportNumber, reportHeader(590, 200));
    rowPictures(l, "highlight", "row", true, 768, kReportPicturesTop, kReportRowPicture);
    l.label("rankingnote", font::kSmall, Rect{144, 552, 752, 28});
    return l;
}

Layout layoutMenuAchievements()
{
    Layout l("MenuAchievements");
    closeButton(l);
    frameTitle(l, "achievementsheading");
    // The rows in the report font, as in the bank's and statistics' reports; the description
    // of the row under the pointer between the table and the cash box.
    l.label("achievementsdefault", font::kBody, Rect{144, 404, 752, 68});   // the hovered description
    l.label("name", font::kReport, reportColumn(178, 480));                 // name
    l.label("name", font::kReportNumber, reportColumn(680, 110));           // reward
    l.label("name", font::kReport, reportColumn(810, 80));                  // third column, empty
    rowPictures(l, "highlight", "row", false, 768, kReportPicturesTop, kReportRowPicture);
    l.canvas("boxes", Rect{128, 168, 784, 406}, tableAndCashBoxes(230, 310)); // the table, the cash box
    l.label("achievementreward", font::kReportNumber, reportHeader(640, 150));
    l.label("name", font::kLine, Rect{182, 485, 300, 36});                  // cash
    l.label("name", font::kLine, Rect{182, 527, 300, 36});                  // loan
    // The marks are drawn by the screen, 5 px lower than laid out, one per row.
    l.canvas("done", Rect{150, kReportTop - 5, 12, 12}, icon(Icon::Star, Tone::Yellow), "");
    l.canvas("notdone", Rect{150, kReportTop - 5, 12, 12}, icon(Icon::StarEmpty, Tone::Grey), "");
    return l;
}

// ---- the food shop

Layout layoutMenuBuyFood()
{
    Layout l("MenuBuyFood");
    l.canvas("frame", geo::kFrame, panel(Tone::Green, 64, threeCards()));
    closeButton(l);
    struct Column {
        Rect icon, name, description, requirementsHeading, price, buy;
    };
    // The price line turns into the red requirements when the food cannot be bought yet: bold as
    // on the buildings' cards, three lines above the buy button.
    auto column = [](int k) {
        const int x = card(k).x;
        return Column{Rect{x + 57, 180, 130, 100},  Rect{x + 8, 284, 228, 32},  Rect{x + 12, 318, 220, 100},
                      Rect{x + 12, 420, 220, 22},  Rect{x + 12, 442, 220, 60}, buttonAt(3, x + 67, 518)};
    };
    // Food 2 in the right card, food 1 in the middle, food 0 in the left.
    const Column c2 = column(2), c1 = column(1), c0 = column(0);
    l.helper("icon3", c2.icon);
    l.label("name", font::kCentred, c2.name);
    l.label("name", font::kSmall, c2.description);
    l.helper("buy3", c2.buy);
    l.label("name", font::kCardLine, c2.price);
    l.helper("icon2", c1.icon);
    l.label("name", font::kCentred, c1.name);
    l.helper("buy2", c1.buy);
    l.label("name", font::kSmall, c1.description);
    l.label("name", font::kCardLine, c1.price);
    l.label("name", font::kSmall, c1.requirementsHeading);
    l.label("name", font::kSmall, c2.requirementsHeading);
    l.helper("icon1", c0.icon);
    l.helper("buy1", c0.buy);
    l.label("name", font::kCentred, c0.name);
    l.label("name", font::kSmall, c0.description);
    l.label("name", font::kCardLine, c0.price);
    l.label("name", font::kSmall, c0.requirementsHeading);
    l.label("name", font::kLine, Rect{140, 552, 600, 36});                  // food in store
    frameTitle(l, "buyfoodtitle");                                          // kept on one line
    return l;
}

// ---- the blue tab strip and the kind frames

Layout layoutMenuBlueFolds()
{
    Layout l("MenuBlueFolds");
    const char* ids[6] = {"dog", "cat", "horse", "rabbit", "dino", "other"};
    const Icon icons[6] = {Icon::Dog, Icon::Cat, Icon::Horse, Icon::Rabbit, Icon::Dino, Icon::Other};
    const char* keys[6] = {"dogs", "cats", "horses", "rabbits", "dinos", "otherbuildings"};
    for (int k = 0; k < 6; ++k)
        tab(l, ids[k], k, 134, Tone::Blue, icons[k], keys[k], 100);
    return l;
}

namespace {

// The blue frames with three cards (buildings) and with three rows (pets) share their pictures.
void blueFrame(Layout& l, bool cards)
{
    if (cards)
        l.sharedCanvas("frame", geo::kFrame, "blueframecards", panel(Tone::Blue, 64, threeCards()));
    else
        l.sharedCanvas("frame", geo::kFrame, "blueframerows", panel(Tone::Blue, 64, threeRows()));
}

} // namespace

Layout layoutMenuBuildingBuySell()
{
    Layout l("MenuBuildingBuySell");
    blueFrame(l, true);
    closeButton(l);
    frameTitle(l, "buildingbuyselltitle");                                  // kept on one line
    return l;
}

Layout layoutMenuBuildings()
{
    Layout l("MenuBuildings");
    blueFrame(l, true);
    frameTitle(l, "buildingstitle");                                        // kept on one line
    closeButton(l);
    return l;
}

Layout layoutMenuPetsList()
{
    Layout l("MenuPetsList");
    blueFrame(l, false);
    closeButton(l);
    frameTitle(l, "petslisttitle");                                         // kept on one line
    return l;
}

Layout layoutMenuPetsShow()
{
    Layout l("MenuPetsShow");
    blueFrame(l, false);
    closeButton(l);
    frameTitle(l, "petsshowtitle");                                         // kept on one line
    return l;
}

Layout layoutMenuPetBuySell()
{
    Layout l("MenuPetBuySell");
    const std::vector<Rect> boxes = relative({Rect{120, 200, 616, 388}, Rect{748, 168, 156, 420}});
    l.canvas("frame", geo::kFrame, panel(Tone::Blue, 64, boxes));
    // Places per kind (dog, cat, dino, rabbit, horse): names, then counts "animals/places".
    for (int k = 0; k < 5; ++k)
        l.label("name", font::kSmall, Rect{760, 180 + k * 80, 136, 28});
    for (int k = 0; k < 5; ++k)
        l.label("name", font::kAmount, Rect{760, 208 + k * 80, 136, 40});
    closeButton(l);
    frameTitle(l, "petbuyselltitle");                                       // kept on one line
    return l;
}

// ---- the panels of the kind frames

Layout layoutMenuPetBuySell1()
{
    // Ten offer rows 38 px apart: picture, name, happiness, stay, fee, accommodate button.
    Layout l("MenuPetBuySell1");
    for (int k = 0; k < 10; ++k) {
        const int y = 204 + k * 38;
        const Rect name{172, y, 150, 38}, stay{366, y, 96, 38}, fee{464, y, 100, 38};
        const std::string n = std::to_string(k + 1);
        if (k == 0) {
            l.label("name", font::kLine, name);
            l.label("name", font::kLine, stay);
            l.label("name", font::kNumber, fee);
        } else {
            l.label("name", font::kLine, stay);
            l.label("name", font::kNumber, fee);
            l.label("name", font::kLine, name);
        }
        l.helper("picture" + n, Rect{128, y + 1, 36, 36});
        l.helper("happiness" + n, Rect{326, y + 1, 36, 36});
        l.helper("accommodate" + n, buttonAt(2, 570, y + 19));
    }
    l.label("petname", font::kSmall, Rect{172, 174, 150, 24});
    l.label("period", font::kSmall, Rect{366, 174, 96, 24});
    l.label("fee", font::kSmall, Rect{480, 174, 84, 24});
    return l;
}

Layout layoutMenuPetsList1()
{
    Layout l("MenuPetsList1");
    struct Row {
        Rect picture, name, happiness, days, hunger, feed, health, treat;
    };
    auto row = [](int r) {
        const int y = petRow(r).y;
        return Row{Rect{136, y + 10, 100, 100}, Rect{248, y + 8, 220, 30},  Rect{248, y + 44, 36, 36},
                   Rect{248, y + 86, 220, 24},  Rect{488, y + 24, 160, 24}, buttonAt(2, 488, y + 80),
                   Rect{690, y + 24, 160, 24},  buttonAt(2, 690, y + 80)};
    };
    const Row r0 = row(0), r1 = row(1), r2 = row(2);
    l.label("hungry", font::kSmall, Rect{488, 174, 180, 24});
    l.helper("picture1", r0.picture);
    l.helper("picture2", r1.picture);
    l.helper("picture3", r2.picture);
    l.label("treat", font::kSmall, Rect{690, 174, 180, 24});
    l.label("daysleftcap", font::kSmall, Rect{248, 174, 220, 24});
    l.label("name", font::kBody, Rect{128, 168, 110, 30});                  // the kind, as a title
    l.helper("happiness3", r2.happiness);
    l.helper("hunger3", r2.hunger);
    l.helper("health3", r2.health);
    l.helper("feed3", r2.feed);
    l.helper("treat3", r2.treat);
    l.label("name", font::kSmall, r2.days);
    l.label("name", font::kBody, r2.name);
    l.helper("treat2", r1.treat);
    l.helper("happiness2", r1.happiness);
    l.helper("hunger2", r1.hunger);
    l.helper("health2", r1.health);
    l.helper("feed2", r1.feed);
    l.label("name", font::kBody, r1.name);
    l.label("name", font::kSmall, r1.days);
    l.helper("treat1", r0.treat);
    l.helper("feed1", r0.feed);
    l.helper("happiness1", r0.happiness);
    l.helper("hunger1", r0.hunger);
    l.helper("health1", r0.health);
    l.label("name", font::kBody, r0.name);
    l.label("name", font::kSmall, r0.days);
    return l;
}

Layout layoutMenuPetsShow1()
{
    Layout l("MenuPetsShow1");
    struct Row {
        Rect picture, name, days, price, teach;
    };
    auto row = [](int r) {
        const int y = petRow(r).y;
        return Row{Rect{136, y + 10, 100, 100}, Rect{248, y + 14, 250, 30}, Rect{248, y + 56, 250, 24},
                   Rect{520, y + 40, 150, 34},  buttonAt(0, 684, y + 56)};
    };
    const Row r0 = row(0), r1 = row(1), r2 = row(2);
    l.label("name", font::kAmount, r2.price);
    l.label("name", font::kBody, r2.name);
    l.label("name", font::kSmall, r2.days);
    l.helper("teach3", r2.teach);
    l.helper("picture3", r2.picture);
    l.label("name", font::kAmount, r1.price);
    l.label("name", font::kBody, r1.name);
    l.label("name", font::kSmall, r1.days);
    l.helper("teach2", r1.teach);
    l.helper("picture2", r1.picture);
    l.label("name", font::kBody, r0.name);
    l.label("name", font::kSmall, r0.days);
    l.label("name", font::kAmount, r0.price);
    l.helper("teach1", r0.teach);
    l.helper("picture1", r0.picture);
    l.label("showanimal", font::kSmall, Rect{248, 174, 250, 24});          // its alpha fades the rows
    l.label("teachingprice", font::kSmall, Rect{520, 174, 160, 24});
    l.label("lesson", font::kSmall, Rect{684, 174, 180, 24});
    return l;
}

Layout layoutMenuBuildingBuySell1()
{
    Layout l("MenuBuildingBuySell1");
    for (int k = 0; k < 3; ++k) {
        const PurchaseCard c = purchaseCard(k);
        const std::string n = std::to_string(k + 1);
        l.label("name", font::kSmall, c.requirementsHeading);
        l.helper("icon" + n, c.icon);
        l.label("name", font::kCentred, c.name);
        l.label("name", font::kSmall, c.maintenanceHeading);
        l.label("name", font::kSmall, c.maintenance);
        l.label("name", font::kCardLine, c.price);
        l.helper("buy" + n, c.buy);
        l.helper("sell" + n, c.sell);
    }
    return l;
}

Layout layoutMenuBuildingBuySell2()
{
    Layout l("MenuBuildingBuySell2");
    browser(l);
    for (int k = 0; k < 3; ++k) {
        const PurchaseCard c = purchaseCard(k);
        const std::string n = std::to_string(k + 1);
        if (k > 0)
            l.label("name", font::kSmall, c.requirementsHeading);
        l.helper("icon" + n, c.icon);
        l.label("name", font::kCentred, c.name);
        l.label("name", font::kSmall, c.maintenanceHeading);
        l.label("name", font::kSmall, c.maintenance);
        l.label("name", font::kCardLine, c.price);
        if (k == 0)
            l.label("name", font::kSmall, c.requirementsHeading);
        l.helper("buy" + n, c.buy);
        l.helper("sell" + n, c.sell);
    }
    return l;
}

Layout layoutMenuBuildings1()
{
    Layout l("MenuBuildings1");
    // Cards 2 and 1 first, then card 0, in the order the bindings expect.
    for (int k = 2; k >= 1; --k) {
        const CareCard c = careCard(k, true);
        const std::string n = std::to_string(k + 1);
        l.label("name", font::kSmall, c.maintenanceHeading);
        l.label("name", font::kSmall, c.maintenance);
        l.helper("cleanness" + n, c.cleanGauge);
        l.helper("condition" + n, c.conditionGauge);
        l.label("name", font::kCentred, c.name);
        l.helper("clean" + n, c.clean);
        l.helper("repair" + n, c.repair);
        l.helper("icon" + n, c.icon);
        l.label("name", font::kSmall, c.conditionHeading);
        l.label("name", font::kSmall, c.cleanHeading);
    }
    const CareCard c = careCard(0, true);
    l.helper("icon1", c.icon);
    l.helper("clean1", c.clean);
    l.helper("repair1", c.repair);
    l.label("name", font::kSmall, c.conditionHeading);
    l.label("name", font::kSmall, c.cleanHeading);
    l.helper("cleanness1", c.cleanGauge);
    l.helper("condition1", c.conditionGauge);
    l.label("name", font::kCentred, c.name);
    l.label("name", font::kSmall, c.maintenanceHeading);
    l.label("name", font::kSmall, c.maintenance);
    return l;
}

Layout layoutMenuBuildings2()
{
    Layout l("MenuBuildings2");
    browser(l);
    for (int k = 2; k >= 1; --k) {
        const CareCard c = careCard(k, false);
        const std::string n = std::to_string(k + 1);
        l.helper("cleanness" + n, c.cleanGauge);
        l.helper("condition" + n, c.conditionGauge);
        l.label("name", font::kCentred, c.name);
        l.helper("clean" + n, c.clean);
        l.helper("repair" + n, c.repair);
        l.helper("icon" + n, c.icon);
        l.label("name", font::kSmall, c.conditionHeading);
        l.label("name", font::kSmall, c.cleanHeading);
    }
    const CareCard c = careCard(0, false);
    l.helper("icon1", c.icon);
    l.helper("clean1", c.clean);
    l.helper("repair1", c.repair);
    l.label("name", font::kSmall, c.conditionHeading);
    l.label("name", font::kSmall, c.cleanHeading);
    l.helper("cleanness1", c.cleanGauge);
    l.helper("condition1", c.conditionGauge);
    l.label("name", font::kCentred, c.name);
    return l;
}

Layout layoutBuildingsDiscription()
{
    // One description area per card: the pointer rests on the card's icon, the text shows over
    // the card's lower half.
    Layout l("BuildingsDiscription");
    for (int k = 0; k < 3; ++k)
        l.helper("area" + std::to_string(k + 1), purchaseCard(k).icon);
    for (int k = 0; k < 3; ++k) {
        const int x = card(k).x;
        l.canvas("background" + std::to_string(k + 1), Rect{x + 4, 318, 236, 216}, box(Tone::Blue, 0.95f));
        l.label("name", font::kSmall, Rect{x + 16, 328, 212, 196});
    }
    return l;
}

Layout layoutMenuPetShowSummary()
{
    Layout l("MenuPetShowSummary");
    l.canvas("panel", Rect{262, 170, 500, 420}, panel(Tone::Purple, 64));
    l.helper("ok", buttonAt(13, 447, 540));
    // Two rows of five values; six stars.
    for (int rowIndex = 0; rowIndex < 2; ++rowIndex)
        for (int c = 0; c < 5; ++c)
            l.label("name", font::kCentred, Rect{284 + c * 92, 300 + rowIndex * 48, 88, 40});
    for (int s = 0; s < 6; ++s)
        l.canvas("star" + std::to_string(s + 1), Rect{296 + s * 74, 420, 56, 56}, icon(Icon::Star, Tone::Yellow));
    l.label("showsummary", font::kTitle, Rect{282, 178, 460, 48});
    l.label("showaudience", font::kCentred, Rect{282, 246, 460, 40});
    l.canvas("trophy", Rect{686, 240, 52, 52}, icon(Icon::Trophy, Tone::Yellow));
    return l;
}
