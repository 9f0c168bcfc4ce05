#include "toolkit/utils/PSDImport.h"

#include "WidgetTestData.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/Extensions.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetCheckbox.h"
#include "toolkit/widgets/WidgetEdit.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <typeinfo>

namespace {

// Imports a layout written as "data/psd/<name>.txt" below a temporary folder; owns the result.
class LayoutImport : public ::testing::Test {
protected:
    LayoutImport() : home(std::filesystem::current_path())
    {
        loadTestStyles(dir);
        loadTestTexts(dir);
        std::filesystem::create_directories(dir.file("data/psd"));
    }
    ~LayoutImport() override
    {
        std::filesystem::current_path(home);
        for (WidgetBaseBase* h : result.first)
            delete h;
        for (WidgetBase* w : result.second)
            delete w;
    }
    PSDImport::Result& import(const std::string& text, const std::string& name = "MenuTest")
    {
        std::string path = dir.write("data/psd/" + name + ".txt", text);
        // The import sees the path as the screens give it: relative to the working folder.
        std::filesystem::current_path(dir.path());
        result = importer.import("data/psd/" + name + ".txt");
        (void)path;
        return result;
    }
    template <class T>
    T* widget(size_t i)
    {
        EXPECT_LT(i, result.second.size());
        T* typed = dynamic_cast<T*>(result.second.at(i));
        EXPECT_NE(typed, nullptr) << "widget " << i << " is " << typeid(*result.second.at(i)).name();
        return typed;
    }
    // The kinds of a widget's extensions, in order (fade directions as F<direction>).
    static std::vector<std::string> extensionKinds(WidgetBase* w)
    {
        std::vector<std::string> kinds;
        for (ExtensionBase* e : w->getExtensions()) {
            if (dynamic_cast<ExtInput*>(e))
                kinds.push_back("input");
            else if (ExtFade* f = dynamic_cast<ExtFade*>(e))
                kinds.push_back("fade" + std::to_string(f->mDirection));
            else if (dynamic_cast<ExtIncrease*>(e))
                kinds.push_back("grow");
            else
                kinds.push_back("?");
        }
        return kinds;
    }

    std::filesystem::path home;
    TempDir dir;
    PSDImport importer;
    PSDImport::Result result;
};

TEST_F(LayoutImport, ElementsComeInFileOrderWithTheirClasses)
{
    import("1024 768 1\n"
           "layer \"MenuTest/bg.png\" \"canvas_bg_o\" 0 0 1024 768\n"
           "layer \"../common/blank.png\" \"label_title_2_o\" 40 20 400 40\n"
           "groupBegin \"btn_close_io\"\n"
           "layer \"MenuTest/close_n.png\" \"normal\" 960 16 48 48\n"
           "layer \"MenuTest/close_o.png\" \"over\" 960 16 48 48\n"
           "groupEnd \"btn_close_io\"\n"
           "layer \"../common/blank.png\" \"helper_loanrow_1\" 60 200 400 30\n"
           "groupBegin \"chk_sound\"\n"
           "layer \"a.png\" \"state1\" 0 0 10 10\n"
           "layer \"b.png\" \"state2\" 0 0 10 10\n"
           "groupEnd \"chk_sound\"\n"
           "groupBegin \"edit_name\"\n"
           "layer \"a.png\" \"label_name_1\" 0 0 100 10\n"
           "groupEnd\n"
           "groupBegin \"label_info\"\n"
           "layer \"back.png\" \"panel\" 0 0 100 100\n"
           "layer \"x.png\" \"label_ok_3\" 10 10 80 20\n"
           "groupEnd \"label_info\"\n");
    ASSERT_EQ(result.first.size(), 1u);
    ASSERT_EQ(result.second.size(), 6u);
    widget<WidgetCanvas>(0);
    widget<WidgetLabel>(1);
    widget<WidgetButton>(2);
    widget<WidgetCheckbox>(3);
    widget<WidgetTextEdit>(4);
    WidgetLabel* group = widget<WidgetLabel>(5);
    EXPECT_EQ(result.first[0]->name, "helper_loanrow");
    EXPECT_NE(dynamic_cast<WidgetHelper*>(result.first[0]), nullptr);
    EXPECT_EQ(result.second[0]->name, "canvas_bg");
    EXPECT_EQ(result.second[1]->name, "label_title");
    EXPECT_EQ(result.second[2]->name, "btn_close");
    EXPECT_EQ(group->name, "label_ok");
    EXPECT_EQ(group->getText(0), L"OK");
    // The group label's text box is image 0, its picture image 1.
    ASSERT_EQ(group->getImages().size(), 2u);
    EXPECT_EQ(group->getImages()[1]->getFilePath(), "data/psd/back.png");
}

TEST_F(LayoutImport, RectanglesAreCanvasFractionsAndPaddedToPowersOfTwo)
{
    import("1000 500 1\n"
           "layer \"x.png\" \"canvas_a\" 100 200 100 60\n"
           "layer \"x.png\" \"canvas_b\" 0 0 1 1\n"
           "layer \"x.png\" \"canvas_c\" 0 0 64 65\n");
    float4 r = result.second[0]->getImages()[0]->getRect();
    float4 d = result.second[0]->getImages()[0]->getDrawRect();
    EXPECT_FLOAT_EQ(r.x, 0.1f);
    EXPECT_FLOAT_EQ(r.y, 0.4f);
    EXPECT_FLOAT_EQ(r.z, 0.1f);
    EXPECT_FLOAT_EQ(r.w, 0.12f);
    EXPECT_FLOAT_EQ(d.x, 0.1f);
    EXPECT_FLOAT_EQ(d.y, 0.4f);
    EXPECT_FLOAT_EQ(d.z, 0.128f);
    EXPECT_FLOAT_EQ(d.w, 0.128f);
    EXPECT_FLOAT_EQ(result.second[1]->getImages()[0]->getDrawRect().z, 0.001f);
    EXPECT_FLOAT_EQ(result.second[2]->getImages()[0]->getDrawRect().z, 0.064f);
    EXPECT_FLOAT_EQ(result.second[2]->getImages()[0]->getDrawRect().w, 128 / 500.0f);
}

TEST_F(LayoutImport, WithoutPaddingTheDrawRectIsTheRect)
{
    import("1000 500 0\nlayer \"x.png\" \"canvas_a\" 100 200 100 60\n");
    float4 d = result.second[0]->getImages()[0]->getDrawRect();
    EXPECT_FLOAT_EQ(d.z, 0.1f);
    EXPECT_FLOAT_EQ(d.w, 0.12f);
}

TEST_F(LayoutImport, ImagePathsResolveBelowTheLayoutFolder)
{
    import("100 100 0\n"
           "layer \"MenuTest/bg.png\" \"canvas_a\" 0 0 1 1\n"
           "layer \"../shared/frame.png\" \"canvas_b\" 0 0 1 1\n");
    EXPECT_EQ(result.second[0]->getImages()[0]->getFilePath(), "data/psd/MenuTest/bg.png");
    EXPECT_EQ(result.second[1]->getImages()[0]->getFilePath(), "data/shared/frame.png");
}

TEST_F(LayoutImport, BehaviourLettersAddExtensionsInOrder)
{
    import("100 100 0\n"
           "groupBegin \"btn_buy_io\"\nlayer \"a.png\" \"normal\" 0 0 1 1\ngroupEnd \"btn_buy_io\"\n"
           "groupBegin \"btn_ok\"\nlayer \"a.png\" \"normal\" 0 0 1 1\ngroupEnd \"btn_ok\"\n"
           "groupBegin \"btn_ok_x_<\"\nlayer \"a.png\" \"normal\" 0 0 1 1\ngroupEnd \"btn_ok_x_<\"\n"
           "layer \"a.png\" \"canvas_bg\" 0 0 1 1\n"
           "layer \"a.png\" \"canvas_bg_^v>z\" 0 0 1 1\n"
           "layer \"a.png\" \"label_title_3\" 0 0 1 1\n");
    EXPECT_EQ(extensionKinds(result.second[0]), std::vector<std::string>({"input", "grow", "fade4"}));
    EXPECT_EQ(extensionKinds(result.second[1]), std::vector<std::string>({"input"}));
    EXPECT_EQ(extensionKinds(result.second[2]), std::vector<std::string>({"input", "fade0"}));
    EXPECT_TRUE(extensionKinds(result.second[3]).empty());
    EXPECT_EQ(extensionKinds(result.second[4]), std::vector<std::string>({"fade2", "fade3", "fade1"}));
    // A three-piece label hands its style digit to the letters: logged, no extension.
    EXPECT_TRUE(extensionKinds(result.second[5]).empty());
    EXPECT_NE(importer.getLastMessage().find(L"nierozpoznany znak zachowania: label_title_3 3"),
              std::wstring::npos);
}

TEST_F(LayoutImport, NamesAreMatchedLowerCased)
{
    import("100 100 0\n"
           "groupBegin \"BTN_Ok\"\nlayer \"a.png\" \"NORMAL\" 0 0 1 1\nlayer \"a.png\" \"Label_ok_1\" 0 0 1 1\n"
           "groupEnd \"BTN_Ok\"\n");
    WidgetButton* button = widget<WidgetButton>(0);
    EXPECT_EQ(button->name, "btn_ok");
    EXPECT_EQ(button->getStateRecord(0), std::vector<int>({0}));
    ASSERT_NE(button->getLabel(), nullptr);
}

TEST_F(LayoutImport, LooseLayersInAFolderJoinTheNextWidgetGroup)
{
    import("100 100 0\n"
           "groupBegin \"panel\"\n"
           "layer \"bg.png\" \"bg_main\" 0 0 1 1\n"
           "groupBegin \"btn_go\"\nlayer \"n.png\" \"normal\" 0 0 1 1\ngroupEnd \"btn_go\"\n"
           "groupEnd \"panel\"\n"
           "groupBegin \"panel2\"\n"
           "layer \"bg.png\" \"bg_lost\" 0 0 1 1\n"
           "groupEnd \"panel2\"\n"
           "groupBegin \"btn_next\"\nlayer \"n.png\" \"normal\" 0 0 1 1\ngroupEnd \"btn_next\"\n");
    ASSERT_EQ(result.second.size(), 2u);
    ASSERT_EQ(result.second[0]->getImages().size(), 2u);
    EXPECT_EQ(result.second[0]->getImages()[0]->getFilePath(), "data/psd/bg.png");
    EXPECT_EQ(result.second[1]->getImages().size(), 1u);
}

TEST_F(LayoutImport, TheImportIsLoggedWithItsDate)
{
    import("100 100 0\n");
    EXPECT_EQ(importer.getLastMessage().find(L"---- import file: data/psd/MenuTest.txtat date: "), 0u);
}

// A loose canvas layer line of exactly n characters.
std::string canvasLine(size_t n)
{
    std::string head = "layer \"x.png\" \"canvas_", tail = "\" 0 0 10 10";
    return head + std::string(n - head.size() - tail.size(), 'a') + tail;
}

TEST_F(LayoutImport, ALineOf999CharactersIsRead)
{
    std::string line = canvasLine(999);
    ASSERT_EQ(line.size(), 999u);
    import("100 100 0\n" + line + "\n");
    EXPECT_EQ(result.second.size(), 1u);
}

// ---- fatal cases

class LayoutImportDeathTest : public LayoutImport {};

TEST_F(LayoutImportDeathTest, ABadHeaderStops)
{
    EXPECT_DEATH(import("1024 768\n"), "MenuTest.txt line 1: plik layerow pochodzi ze starej wersji");
    EXPECT_DEATH(import("1024 x 1\n"), "line 1: plik layerow");
    EXPECT_DEATH(import("0 768 1\n"), "line 1: the canvas width and height must be above 0");
}

TEST_F(LayoutImportDeathTest, ALineOf1000CharactersStops)
{
    std::string line = canvasLine(1000);
    EXPECT_DEATH(import("100 100 0\n" + line + "\n"), "MenuTest.txt line 2: linia jest dluzsza niz 1000 znakow");
}

TEST_F(LayoutImportDeathTest, BrokenLayerLinesStopNamingTheLine)
{
    EXPECT_DEATH(import("100 100 0\n\nlayer \"x.png\" \"canvas_a\" 0 0 ten 10\n"), "line 2: a layer line is");
    EXPECT_DEATH(import("100 100 0\nlayer \"x.png\" \"canvas_a\" 0 0 10\n"), "line 2: a layer line is");
    EXPECT_DEATH(import("100 100 0\nlayer \"\" \"canvas_a\" 0 0 10 10\n"), "line 2: a layer line is");
}

TEST_F(LayoutImportDeathTest, ALooseLayerNameOfOnePieceStops)
{
    EXPECT_DEATH(import("100 100 0\ngroupBegin \"panel\"\nlayer \"x.png\" \"background\" 0 0 1 1\n"),
                 "line 3: layer 'background': opis warstwy musi zawierac nazwe");
}

TEST_F(LayoutImportDeathTest, MoreGroupEndsThanBeginsStop)
{
    EXPECT_DEATH(import("100 100 0\ngroupEnd \"x\"\n"), "line 2: groupEnd without an open group");
}

TEST_F(LayoutImportDeathTest, AMissingLayoutStops)
{
    std::filesystem::current_path(dir.path());
    EXPECT_DEATH(importer.import("data/psd/Absent.txt"), "failed assertion");
}

TEST_F(LayoutImportDeathTest, BadWidgetsStopNamingTheWidget)
{
    EXPECT_DEATH(import("100 100 0\nlayer \"x.png\" \"label_title\" 0 0 1 1\n"),
                 "label 'label_title': nazwa kontrolki jest nieprawid");
    EXPECT_DEATH(import("100 100 0\nlayer \"x.png\" \"label_title_12\" 0 0 1 1\n"),
                 "label 'label_title': font style 12 is not in the styles table");
    EXPECT_DEATH(import("100 100 0\ngroupBegin \"chk_a\"\nlayer \"x.png\" \"state1\" 0 0 1 1\n"
                        "layer \"x.png\" \"state3\" 0 0 1 1\ngroupEnd \"chk_a\"\n"),
                 "checkbox 'chk_a': warstwa stanu ma z");
    EXPECT_DEATH(import("100 100 0\ngroupBegin \"chk_a\"\nlayer \"x.png\" \"normal\" 0 0 1 1\ngroupEnd \"chk_a\"\n"),
                 "checkbox 'chk_a': checkbox ma zero stanow");
    EXPECT_DEATH(import("100 100 0\ngroupBegin \"edit_a\"\nlayer \"x.png\" \"normal\" 0 0 1 1\ngroupEnd \"edit_a\"\n"),
                 "text edit 'edit_a' has no label layer");
    EXPECT_DEATH(import("100 100 0\ngroupBegin \"label_a\"\ngroupEnd \"label_a\"\n"),
                 "pusty wektor layerow w konstruktorze WidgetLabel");
    EXPECT_DEATH(import("100 100 0\ngroupBegin \"label_a\"\nlayer \"x.png\" \"back\" 0 0 1 1\ngroupEnd \"label_a\"\n"),
                 "label powinien");
}

} // namespace
