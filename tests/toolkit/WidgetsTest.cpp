#include "WidgetTestData.h"
#include "core/ControlMngr.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/utils/PSDImport.h"
#include "toolkit/utils/misc.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetCheckbox.h"
#include "toolkit/widgets/WidgetEdit.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace {

typedef std::pair<int, int> Pair;

Layer layer(const std::wstring& name, float x = 0.1f, float y = 0.1f, float w = 0.2f, float h = 0.1f)
{
    Layer l;
    l.mPath = "data/psd/x.png";
    l.mName = name;
    l.mRect = float4(x, y, w, h);
    l.mDrawRect = float4(x, y, w, h);
    return l;
}

// Plays a list of layer states, one per update, as the input extension would.
class ScriptedPointer : public ExtensionBase {
public:
    ScriptedPointer(WidgetBase* owner, std::vector<int> states) : ExtensionBase(owner), mStates(std::move(states)) {}
    void reset() override {}
    void step() override
    {
        if (mNext < mStates.size())
            owner->setLayerState(mStates[mNext++]);
    }
    std::vector<int> mStates;
    size_t mNext = 0;
};

class Widgets : public ::testing::Test {
protected:
    Widgets()
    {
        loadTestStyles(dir);
        loadTestTexts(dir);
    }
    // Shows the widget at once and runs the updates that finish the show.
    static void show(WidgetBase& w)
    {
        w.setState("game", 2, 0);
        w.update();
        w.update();
        ASSERT_EQ(w.getShowStates(), Pair(1, 2));
    }
    TempDir dir;
};

// ---- button

TEST_F(Widgets, ButtonRecordsFallBackToNormal)
{
    WidgetButton button(L"btn_ok_io", {layer(L"normal"), layer(L"over"), layer(L"NORMAL"), layer(L"Label_ok_6")});
    EXPECT_EQ(button.name, "btn_ok");
    EXPECT_EQ(button.getImages().size(), 4u);
    EXPECT_EQ(button.getRects().size(), 4u);
    EXPECT_EQ(button.getStateRecord(0), std::vector<int>({0, 2}));
    EXPECT_EQ(button.getStateRecord(1), std::vector<int>({1}));
    EXPECT_EQ(button.getStateRecord(2), std::vector<int>({0, 2}));  // no click pictures
    EXPECT_EQ(button.getStateRecord(3), std::vector<int>({1}));
    ASSERT_NE(button.getLabel(), nullptr);
    EXPECT_EQ(button.getLabel()->getText(0), L"OK");
    EXPECT_EQ(button.getLabel()->getStyle(), 6);
}

TEST_F(Widgets, ButtonWithoutPicturesHasEmptyRecordsAndAnUnknownLayerIsIgnored)
{
    WidgetButton button(L"btn_x", {layer(L"shadow")});
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(button.getStateRecord(k).empty());
    EXPECT_EQ(button.getCurrentImage(), button.getImages()[0]);
}

TEST_F(Widgets, TheCurrentPictureNeverComesFromBeyondARecord)
{
    // Two normal pictures and no over picture: the over state lies below the size of record 0, but
    // record 1 is empty, so the lookup falls back to image 0.
    WidgetCheckbox box(L"chk_sound", {layer(L"state1"), layer(L"normal"), layer(L"normal"), layer(L"state2")});
    box.setLayerState(kLayerOver);
    EXPECT_EQ(box.getCurrentImage(), box.getImages()[0]);
    box.setLayerState(kLayerNormal);
    EXPECT_EQ(box.getCurrentImage(), box.getImages()[1]);
    WidgetButton bare(L"btn_bare", {});
    EXPECT_EQ(bare.getCurrentImage(), nullptr);
    EXPECT_FLOAT_EQ(bare.getCurrentRect().z, 0.0f);
}

TEST_F(Widgets, ButtonLabelFollowsTheShowStateInTheSameUpdate)
{
    WidgetButton button(L"btn_ok", {layer(L"normal"), layer(L"label_ok_1")});
    WidgetLabel* label = button.getLabel();
    button.setState("game", 2, 50);
    EXPECT_EQ(label->getShowStates(), Pair(0, 1));
    for (int i = 0; i < 7; ++i)
        button.update();
    EXPECT_EQ(button.getShowStates(), Pair(1, 2));
    EXPECT_EQ(label->getShowStates().second, 2);
    button.setState("game", 0, 0);
    EXPECT_EQ(label->getShowStates(), Pair(2, 3));
    button.update();
    button.update();
    EXPECT_EQ(button.getShowStates(), Pair(3, 0));
    EXPECT_EQ(label->getShowStates().second, 0);
    button.draw();
    EXPECT_FALSE(label->isVisible());
}

TEST_F(Widgets, ButtonResetKeepsTheCurrentLayerStateAndDisablingClearsIt)
{
    WidgetButton button(L"btn_ok", {layer(L"normal"), layer(L"over")});
    button.addExtension(new ScriptedPointer(&button, {1, 1, 2}), 1);
    show(button);
    button.update();
    EXPECT_EQ(button.getLayerStates(), Pair(1, 2));
    EXPECT_EQ(button.getCurrentImage(), button.getImages()[0]);  // click falls back to normal
    button.reset();
    EXPECT_EQ(button.getLayerStates(), Pair(0, 2));
    button.setEnabled(0);
    EXPECT_EQ(button.getLayerStates(), Pair(0, 0));
    // A button disabled from outside still takes one step, then stands still.
    int timer = button.getTransitionTimer();
    button.update();
    button.update();
    EXPECT_EQ(button.getTransitionTimer(), timer - 10);
}

TEST_F(Widgets, AddOverImageShowsAnotherPictureWhenOver)
{
    WidgetButton button(L"btn_ok", {layer(L"normal", 0.5f, 0.5f), layer(L"over", 0.5f, 0.5f)});
    MyImage other("", 0.0f, 0.0f, 0.1f, 0.05f, 0.0f, 0.0f, 0.125f, 0.0625f);
    button.addOverImage(&other, 1, 1);
    ASSERT_EQ(button.getImages().size(), 3u);
    EXPECT_EQ(button.getStateRecord(1), std::vector<int>({2}));
    EXPECT_EQ(button.getStateRecord(2), std::vector<int>({2}));
    float4 r = button.getImages()[2]->getRect();
    EXPECT_FLOAT_EQ(r.x, 0.5f);
    EXPECT_FLOAT_EQ(r.z, 0.1f);
    EXPECT_FLOAT_EQ(button.getImages()[2]->getDrawRect().z, 0.125f);
}

// ---- checkbox

TEST_F(Widgets, CheckboxStepsItsValueAtEachPress)
{
    WidgetCheckbox box(L"chk_sound", {layer(L"state1"), layer(L"state2"), layer(L"over")});
    EXPECT_EQ(box.getStateCount(), 2);
    EXPECT_EQ(box.getStateRecord(0), std::vector<int>({2}));  // no normal: the over pictures
    // over, press, hold, release, over, press, release outside, press from outside, release
    show(box);
    box.addExtension(new ScriptedPointer(&box, {1, 2, 2, 3, 1, 2, 0, 2, 0}), 1);
    std::vector<int> values;
    for (int i = 0; i < 7; ++i) {
        box.update();
        values.push_back(box.mValue);
    }
    EXPECT_EQ(values, std::vector<int>({0, 1, 1, 1, 1, 0, 0}));
    EXPECT_TRUE(box.isPressedMarked());
    box.reset();
    EXPECT_FALSE(box.isPressedMarked());
    EXPECT_EQ(box.mValue, 0);
}

TEST_F(Widgets, CheckboxOfThreeStatesCyclesAndOneStateStays)
{
    WidgetCheckbox three(L"chk_mode", {layer(L"normal"), layer(L"state3"), layer(L"state1"), layer(L"state2")});
    EXPECT_EQ(three.getStateRecord(0), std::vector<int>({0}));
    show(three);
    three.addExtension(new ScriptedPointer(&three, {1, 2, 1, 2, 1, 2, 1, 2}), 1);
    std::vector<int> values;
    for (int i = 0; i < 8; ++i) {
        three.update();
        values.push_back(three.mValue);
    }
    EXPECT_EQ(values, std::vector<int>({0, 1, 1, 2, 2, 0, 0, 1}));

    WidgetCheckbox one(L"chk_one", {layer(L"state1")});
    EXPECT_EQ(one.getStateRecord(0), std::vector<int>({0}));
    show(one);
    one.addExtension(new ScriptedPointer(&one, {1, 2}), 1);
    one.update();
    one.update();
    EXPECT_EQ(one.mValue, 0);
    EXPECT_TRUE(one.isPressedMarked());
}

TEST_F(Widgets, CheckboxValueIsClampedAndPeersLoseTheirMark)
{
    WidgetCheckbox a(L"chk_a", {layer(L"state1"), layer(L"state2"), layer(L"click")});
    WidgetCheckbox b(L"chk_b", {layer(L"state1"), layer(L"state2")});
    a.setValue(5);
    EXPECT_EQ(a.mValue, 1);
    a.setValue(-2);
    EXPECT_EQ(a.mValue, 0);
    b.addToGroup(&a);
    show(a);
    show(b);
    a.addExtension(new ScriptedPointer(&a, {1, 2}), 1);
    b.addExtension(new ScriptedPointer(&b, {1, 2}), 1);
    a.update();
    a.update();
    EXPECT_TRUE(a.isPressedMarked());
    b.update();
    b.update();
    EXPECT_TRUE(b.isPressedMarked());
    EXPECT_FALSE(a.isPressedMarked());
}

// ---- text edit

class TextEdit : public Widgets {
protected:
    TextEdit() : edit(L"edit_name", {layer(L"normal"), layer(L"label_name_1")})
    {
        dir.write("characters.txt", "\xEF\xBB\xBF" "abcdefghijklmnopqrstuvwxyz\xC4\x85 -\nXYZ\n");
        ControlMngr::get()->clearStep();
    }
    WidgetTextEdit edit;
};

TEST_F(TextEdit, StartsWithTheLabelTextAndABlankAndNoPicturesToDraw)
{
    EXPECT_EQ(edit.getLabel()->getText(0), L"Name ");
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(edit.getStateRecord(k).empty());
    EXPECT_EQ(edit.name, "edit_name");
}

TEST_F(TextEdit, TypingKeepsAllowedCharactersUpToTheMaximumLength)
{
    for (int c : std::vector<int>({'a', 8, 'b'}))
        edit.typeChar(c);
    EXPECT_EQ(edit.getText(), L"");  // nothing allowed yet: only backspace works
    edit.loadAllowedChars(dir.file("characters.txt"));
    for (int c : std::vector<int>({'a', 'B', 'b', 0x105, 'X', ' '}))
        edit.typeChar(c);
    EXPECT_EQ(edit.getText(), L"ab\x105 ");
    edit.typeChar(8);
    edit.typeChar(8);
    EXPECT_EQ(edit.getText(), L"ab");
    for (int i = 0; i < 20; ++i)
        edit.typeChar('z');
    EXPECT_EQ(edit.getText().size(), 15u);
    edit.reset();
    EXPECT_EQ(edit.getText(), L"");
    EXPECT_EQ(edit.getLabel()->getText(0), L"Name");
    for (int i = 0; i < 20; ++i)
        edit.typeChar('z');
    EXPECT_EQ(edit.getText().size(), 16u);
    for (int i = 0; i < 20; ++i)
        edit.typeChar(8);
    edit.typeChar(8);
    EXPECT_EQ(edit.getText(), L"");
}

TEST_F(TextEdit, UpdateConsumesTheTypedCharacter)
{
    ControlMngr* input = ControlMngr::get();
    edit.loadAllowedChars(dir.file("characters.txt"));
    edit.setState("game", 2, 0);
    input->mKeyboardDevices.front()->data[kKeyboardCharWord].i = 'k';
    edit.update();
    EXPECT_EQ(input->mKeyboardDevices.front()->data[kKeyboardCharWord].i, -1);
    edit.update();
    EXPECT_EQ(edit.getText(), L"k");
    input->mKeyboardDevices.front()->data[kKeyboardCharWord].i = 8;
    edit.update();
    EXPECT_EQ(edit.getText(), L"");
}

TEST_F(TextEdit, CursorIsOffFor140UpdatesAndOnFor141)
{
    edit.loadAllowedChars(dir.file("characters.txt"));
    edit.setState("game", 2, 0);
    edit.typeChar('a');
    std::vector<std::wstring> shown;
    for (int i = 0; i < 290; ++i) {
        edit.update();
        shown.push_back(edit.getLabel()->getText(0));
    }
    EXPECT_EQ(shown[0], L"a");
    EXPECT_EQ(shown[139], L"a");
    EXPECT_EQ(shown[140], L"a_");
    EXPECT_EQ(shown[280], L"a_");
    EXPECT_EQ(shown[281], L"a");
}

TEST_F(TextEdit, AnEmptyEntryBlinksThePlaceholder)
{
    edit.setPlaceholder(L"Enter your name");
    edit.setState("game", 2, 0);
    std::vector<std::wstring> shown;
    for (int i = 0; i < 141; ++i) {
        edit.update();
        shown.push_back(edit.getLabel()->getText(0));
    }
    EXPECT_EQ(shown[139], L"");
    EXPECT_EQ(shown[140], L"Enter your name");

    // Drawn faded, so it does not pass for a typed name; typed text is drawn in full.
    edit.draw();
    const float full = edit.getColor().w;
    EXPECT_LT(edit.getLabel()->getColor().w, 0.5f * full);
    edit.loadAllowedChars(dir.file("characters.txt"));
    edit.typeChar('a');
    edit.draw();
    EXPECT_FLOAT_EQ(edit.getLabel()->getColor().w, full);
}

TEST_F(TextEdit, TheShippedNameCharactersTakeTheLatinLettersEveryFontDraws)
{
    const std::string data = std::string(PETPARK_APP_DIR) + "/Resources/data/";
    edit.loadAllowedChars(data + "characters.txt");
    for (wchar_t c : std::wstring(L"Jos\u00e9 M\u00fcller"))
        edit.typeChar(c);
    EXPECT_EQ(edit.getText(), L"Jos\u00e9 M\u00fcller");
    edit.reset();
    for (wchar_t c : std::wstring(L"Pe\u00f1a \u00c6\u00f8\u00df\u00ff\u0142\u00d7"))
        edit.typeChar(c);
    EXPECT_EQ(edit.getText(), L"Pe\u00f1a \u00c6\u00f8\u00df\u00ff\u0142") << "letters only, no sign";

    // Whatever a name may hold, every font of the game draws.
    const std::wstring allowed = loadDatFileRequired(data + "characters.txt").front();
    int fonts = 0;
    for (const auto& entry : std::filesystem::directory_iterator(data + "fonts")) {
        if (entry.path().extension() != ".ch")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::wstring drawn;
        for (size_t k = 2; k + 1 < bytes.size(); k += 2)
            drawn += static_cast<wchar_t>(static_cast<unsigned char>(bytes[k]) | static_cast<unsigned char>(bytes[k + 1]) << 8);
        for (wchar_t c : allowed)
            EXPECT_NE(drawn.find(c), std::wstring::npos) << entry.path() << " lacks U+" << std::hex << int(c);
        ++fonts;
    }
    EXPECT_GT(fonts, 0);
}

TEST_F(Widgets, AllowedCharactersNeedTheirFile)
{
    WidgetTextEdit edit(L"edit_name", {layer(L"label_name_1")});
    EXPECT_DEATH(edit.loadAllowedChars(dir.file("absent.txt")), "no dat file loaded!");
}

// ---- label, canvas, helper

TEST_F(Widgets, LabelTakesTextAndStyleFromItsName)
{
    WidgetLabel label(L"label_title_2_o", 0.1f, 0.2f, 0.3f, 0.05f);
    EXPECT_EQ(label.name, "label_title");
    EXPECT_EQ(label.getText(0), L"Bank");
    EXPECT_EQ(label.getText(1), L"title");
    EXPECT_EQ(label.getStyle(), 2);
    ASSERT_EQ(label.getImages().size(), 1u);
    EXPECT_TRUE(label.isLoaded());  // the text box has no picture
    label.setText(L"ok", 1, 0);
    EXPECT_EQ(label.getText(0), L"OK");
    label.setText(L"12 345", 0, 1);
    EXPECT_EQ(label.getText(0), L"12 345");
    EXPECT_EQ(label.getText(1), L"ok");  // a literal keeps the last key
    label.setText(L"nokey", 1, 1);
    EXPECT_EQ(label.getText(0), L"missing text");
}

TEST_F(Widgets, LabelLinesWithoutWrapOrText)
{
    WidgetLabel label(L"label_title_1", 0, 0, 0.3f, 0.05f);
    label.setText(L"", 0, 1);
    EXPECT_EQ(label.getLineCount(), 0);
    label.setText(L"", 0, 0);
    EXPECT_EQ(label.getLineCount(), 1);
    label.setText(L"a  long text that never fits", 0, 0);
    EXPECT_EQ(label.getLineCount(), 1);
    EXPECT_EQ(label.getLines(), std::vector<std::wstring>({L"a  long text that never fits"}));
}

TEST_F(Widgets, LabelDisabledFromOutsideTakesOneMoreStep)
{
    WidgetLabel label(L"label_title_1", 0, 0, 0.3f, 0.05f);
    label.setState("game", 2, 250);
    label.update();
    label.setEnabled(0);
    int timer = label.getTransitionTimer();
    label.update();
    label.update();
    EXPECT_EQ(label.getTransitionTimer(), timer - 10);
}

TEST_F(Widgets, CanvasAndHelperTakeTheFirstTwoNamePieces)
{
    WidgetCanvas canvas("data/psd/bg.png", L"canvas_bg_o", float4(0, 0, 1, 1), float4(0, 0, 1, 1));
    EXPECT_EQ(canvas.name, "canvas_bg");
    ASSERT_EQ(canvas.getImages().size(), 1u);
    for (int k = 0; k < 10; ++k)
        EXPECT_TRUE(canvas.getStateRecord(k).empty());
    WidgetHelper helper(L"helper_slot_1", 0.1f, 0.2f, 0.3f, 0.4f);
    EXPECT_EQ(helper.name, "helper_slot");
    EXPECT_FLOAT_EQ(helper.getRect().w, 0.4f);
}

TEST_F(Widgets, DrawWidgetAtRestoresRectsAndWhiteColour)
{
    WidgetButton button(L"btn_ok", {layer(L"normal", 0.1f, 0.1f), layer(L"over", 0.2f, 0.2f)});
    WidgetHelper helper(L"helper_slot", 0.5f, 0.6f, 0.1f, 0.1f);
    helper.mColor = float4(1, 0, 0, 0.5f);
    button.setColor(0, 0, 1, 1);
    helper.drawWidgetAt(&button);
    EXPECT_FLOAT_EQ(button.getImages()[1]->getRect().x, 0.2f);
    EXPECT_FLOAT_EQ(button.getImages()[1]->getDrawRect().x, 0.2f);
    float4 c = button.getColor();
    EXPECT_EQ(std::vector<float>({c.x, c.y, c.z, c.w}), std::vector<float>({1, 1, 1, 1}));
}

TEST_F(Widgets, ShortNamesStop)
{
    EXPECT_DEATH(WidgetCanvas("x.png", L"canvas", float4(), float4()), "canvas 'canvas': nazwa kontrolki");
    EXPECT_DEATH(WidgetHelper(L"helper", 0, 0, 1, 1), "helper 'helper': nazwa kontrolki");
    EXPECT_DEATH(WidgetButton(L"btn", {layer(L"normal")}), "button 'btn': nazwa kontrolki");
    EXPECT_DEATH(WidgetLabel(L"label_x_y", 0, 0, 1, 1), "label 'label_x_y': style 'y' is not a number");
}

} // namespace
