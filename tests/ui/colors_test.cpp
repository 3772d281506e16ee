#include "toolkit/core/component.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/properties.h"
#include "toolkit/core/streaming.h"
#include "toolkit/ui/colors.h"
#include "toolkit/ui/graphics.h"

#include <QPalette>
#include <gtest/gtest.h>
#include <ostream>

namespace tk {
namespace {

// A component publishing a colour and a font, as controls do.
class TSwatch : public TComponent {
    Q_OBJECT
    Q_PROPERTY(tk::TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(tk::TFont* Font READ Font WRITE SetFont)
public:
    explicit TSwatch(QObject* owner = nullptr) : TComponent(owner), font_(new TFont(this)) {}
    TColor Color() const { return color_; }
    void SetColor(TColor color) { color_ = color; }
    TFont* Font() const { return font_; }
    void SetFont(TFont* font) { font_->Assign(font); }

private:
    TColor color_ = clBlack;
    TFont* font_;
};

int Red(TColor c)
{
    return c & 0xFF;
}
int Green(TColor c)
{
    return (c >> 8) & 0xFF;
}
int Blue(TColor c)
{
    return (c >> 16) & 0xFF;
}

// A palette in which every role has its own colour, so that a wrong role
// cannot pass for the right one.
QPalette DistinctPalette()
{
    QPalette palette;
    int n = 1;
    for (int group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (int role = 0; role < QPalette::NColorRoles; ++role, n += 7)
            palette.setColor(QPalette::ColorGroup(group), QPalette::ColorRole(role),
                             QColor(n % 256, (n * 3) % 256, (n * 11) % 256));
    return palette;
}

struct SystemCase {
    const char* name;
    TColor color;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};
void PrintTo(const SystemCase& c, std::ostream* os)
{
    *os << c.name;
}

class SystemColors : public ::testing::TestWithParam<SystemCase> {};

TEST_P(SystemColors, ResolveToTheirPaletteRole)
{
    const QPalette palette = DistinctPalette();
    const SystemCase& c = GetParam();
    EXPECT_EQ(ColorToRGB(c.color, palette), QColorToColor(palette.color(c.group, c.role)));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SystemColors,
    ::testing::Values(SystemCase{"window", clWindow, QPalette::Active, QPalette::Base},
                      SystemCase{"windowText", clWindowText, QPalette::Active, QPalette::WindowText},
                      SystemCase{"btnFace", clBtnFace, QPalette::Active, QPalette::Button},
                      SystemCase{"btnHighlight", clBtnHighlight, QPalette::Active, QPalette::Light},
                      SystemCase{"btnShadow", clBtnShadow, QPalette::Active, QPalette::Dark},
                      SystemCase{"light3D", cl3DLight, QPalette::Active, QPalette::Midlight},
                      SystemCase{"dkShadow3D", cl3DDkShadow, QPalette::Active, QPalette::Shadow},
                      SystemCase{"highlight", clHighlight, QPalette::Active, QPalette::Highlight},
                      SystemCase{"highlightText", clHighlightText, QPalette::Active,
                                 QPalette::HighlightedText},
                      SystemCase{"infoBk", clInfoBk, QPalette::Active, QPalette::ToolTipBase},
                      SystemCase{"infoText", clInfoText, QPalette::Active, QPalette::ToolTipText},
                      SystemCase{"grayText", clGrayText, QPalette::Disabled, QPalette::Text},
                      SystemCase{"btnText", clBtnText, QPalette::Active, QPalette::ButtonText},
                      SystemCase{"menu", clMenu, QPalette::Active, QPalette::Window},
                      SystemCase{"hotLight", clHotLight, QPalette::Active, QPalette::Link},
                      SystemCase{"unknownIndex25", SystemColor(25), QPalette::Active, QPalette::Window},
                      SystemCase{"unknownIndex99", SystemColor(99), QPalette::Active, QPalette::Window}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SystemColors, EveryIndexOfTheTableResolvesToSomethingOtherThanBlack)
{
    // A palette without any black, so a fall-through would show.
    QPalette palette = DistinctPalette();
    for (int index = 0; index <= 40; ++index)
        EXPECT_NE(ColorToRGB(SystemColor(index), palette), clBlack) << index;
}

TEST(SystemColors, GradientCaptionsDifferFromTheCaptionsTheyRampFrom)
{
    const QPalette palette = DistinctPalette();
    EXPECT_NE(ColorToRGB(clGradientActiveCaption, palette), ColorToRGB(clActiveCaption, palette));
    EXPECT_NE(ColorToRGB(clGradientInactiveCaption, palette), ColorToRGB(clInactiveCaption, palette));
}

TEST(Colors, SpecialValuesAreNotColours)
{
    EXPECT_FALSE(ColorToQColor(clNone).isValid());
    EXPECT_FALSE(ColorToQColor(clDefault).isValid());
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), TColor(0x563412));
    EXPECT_EQ(ColorToQColor(clOlive), QColor(128, 128, 0));
}

struct HlsCase {
    const char* name;
    TColor color;
    THLS expected;
};
void PrintTo(const HlsCase& c, std::ostream* os)
{
    *os << c.name;
}

class HlsValues : public ::testing::TestWithParam<HlsCase> {};

TEST_P(HlsValues, MatchThe240Scale)
{
    const THLS hls = ColorToHLS(GetParam().color);
    EXPECT_EQ(hls.hue, GetParam().expected.hue);
    EXPECT_EQ(hls.luminance, GetParam().expected.luminance);
    EXPECT_EQ(hls.saturation, GetParam().expected.saturation);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HlsValues,
    ::testing::Values(HlsCase{"red", clRed, {0, 120, 240}}, HlsCase{"lime", clLime, {80, 120, 240}},
                      HlsCase{"blue", clBlue, {160, 120, 240}}, HlsCase{"white", clWhite, {160, 240, 0}},
                      HlsCase{"black", clBlack, {160, 0, 0}}, HlsCase{"olive", clOlive, {40, 60, 240}},
                      HlsCase{"gray", clGray, {160, 120, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Hls, RgbRoundTripsStayWithinTheScalesRounding)
{
    // 240 steps cannot hold 256: a channel may move by the rounding of one
    // step, never more.
    for (int r = 0; r < 256; r += 17)
        for (int g = 0; g < 256; g += 15)
            for (int b = 0; b < 256; b += 51) {
                const THLS hls = ColorToHLS(RGB(r, g, b));
                const TColor back = ColorHLSToRGB(hls.hue, hls.luminance, hls.saturation);
                ASSERT_LE(std::abs(Red(back) - r), 3) << r << "," << g << "," << b;
                ASSERT_LE(std::abs(Green(back) - g), 3) << r << "," << g << "," << b;
                ASSERT_LE(std::abs(Blue(back) - b), 3) << r << "," << g << "," << b;
            }
}

TEST(Hls, HlsRoundTripsKeepPrimaryColoursExactly)
{
    for (TColor color : {clRed, clLime, clBlue, clWhite, clBlack, clAqua, clYellow, clFuchsia}) {
        const THLS hls = ColorToHLS(color);
        EXPECT_EQ(ColorHLSToRGB(hls.hue, hls.luminance, hls.saturation), color)
            << ColorToString(color).toStdString();
    }
}

TEST(Hls, ChannelsOutsideTheScaleAreClamped)
{
    EXPECT_EQ(ColorHLSToRGB(0, 300, 0), clWhite);
    EXPECT_EQ(ColorHLSToRGB(-20, -5, -1), clBlack);
    EXPECT_EQ(ColorHLSToRGB(500, 120, 900), ColorHLSToRGB(240, 120, 240));
    EXPECT_EQ(ColorAdjustLuma(clWhite, 50), clWhite);
    EXPECT_EQ(ColorAdjustLuma(clBlack, -50), clBlack);
    EXPECT_EQ(ColorAdjustLuma(RGB(250, 250, 250), 50), clWhite);
}

TEST(Hls, ShadeLowersLuminanceAndKeepsHue)
{
    const TColor base = RGB(198, 211, 239);
    const THLS before = ColorToHLS(base);
    for (int delta : {-25, -50}) {
        const THLS after = ColorToHLS(Shade(base, delta));
        EXPECT_NEAR(after.luminance, before.luminance + delta, 1) << delta;
        EXPECT_NEAR(after.hue, before.hue, 2) << delta;
    }
}

TEST(ColorNames, EveryNameAndNumberRoundTrips)
{
    for (TColor color : {clBlack, clOlive, clWhite, clBtnFace, cl3DDkShadow, clGradientInactiveCaption,
                         clMenuBar, clNone, clDefault, TColor(0xE8E8E8), TColor(0x123456), SystemColor(25)}) {
        const QString text = ColorToString(color);
        const std::optional<TColor> back = StringToColor(text);
        ASSERT_TRUE(back.has_value()) << text.toStdString();
        EXPECT_EQ(*back, color) << text.toStdString();
    }
    EXPECT_EQ(ColorToString(clBtnFace), QStringLiteral("clBtnFace"));
    EXPECT_EQ(ColorToString(TColor(0xE8E8E8)), QStringLiteral("$00E8E8E8"));
    EXPECT_EQ(StringToColor(QStringLiteral("CLRED")), std::optional<TColor>(clRed));
    EXPECT_EQ(StringToColor(QStringLiteral("15263976")), std::optional<TColor>(TColor(0xE8E8E8)));
    EXPECT_EQ(StringToColor(QStringLiteral("clNoSuchColour")), std::nullopt);
    EXPECT_EQ(StringToColor(QStringLiteral("$1FFFFFFFF")), std::nullopt);
}

TEST(ColorNames, PropertiesStreamByNameAndReadBack)
{
    TSwatch written;
    written.SetName(QStringLiteral("swatch"));
    written.SetColor(clBtnFace);
    written.Font()->SetColor(TColor(0xE8E8E8));
    const QString text = ObjectToText(&written);
    EXPECT_TRUE(text.contains(QStringLiteral("Color = clBtnFace"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("'clBtnFace'"))) << text.toStdString();

    TSwatch read;
    ObjectFromText(&read, text);
    EXPECT_EQ(read.Color(), clBtnFace);
    EXPECT_EQ(read.Font()->Color(), TColor(0xE8E8E8));
}

TEST(ColorNames, PropertyTextAcceptsNamesAndNumbersAndRefusesOtherText)
{
    TSwatch swatch;
    SetPropText(&swatch, QStringLiteral("Color"), QStringLiteral("clInfoBk"));
    EXPECT_EQ(swatch.Color(), clInfoBk);
    SetPropText(&swatch, QStringLiteral("Color"), QStringLiteral("$000000FF"));
    EXPECT_EQ(swatch.Color(), clRed);
    EXPECT_EQ(GetPropText(&swatch, QStringLiteral("Color")), QStringLiteral("clRed"));
    EXPECT_THROW(SetPropText(&swatch, QStringLiteral("Color"), QStringLiteral("reddish")), EPropertyError);
    EXPECT_EQ(swatch.Color(), clRed);
}

TEST(Font, HandlesAreEqualExactlyForEqualAttributes)
{
    TFont a;
    TFont b;
    EXPECT_EQ(a.Handle(), b.Handle());
    b.SetStyle(TFont::fsBold);
    EXPECT_NE(a.Handle(), b.Handle());
    const quint64 version = a.Version();
    a.Assign(&b);
    EXPECT_EQ(a.Handle(), b.Handle());
    EXPECT_GT(a.Version(), version);
}

// Each attribute changed after the handle was read: the handle is the one
// of the new attributes, and the old one again once they are back.
struct FontChange {
    const char* name;
    void (*change)(TFont&);
};

class FontHandleTest : public ::testing::TestWithParam<FontChange> {};

TEST_P(FontHandleTest, FollowsEveryChangeAfterItWasRead)
{
    TFont font;
    TFont changedToo;
    const quintptr before = font.Handle();
    GetParam().change(font);
    GetParam().change(changedToo);
    EXPECT_NE(font.Handle(), before);
    EXPECT_EQ(font.Handle(), changedToo.Handle());
    const TFont plain;
    font.Assign(&plain);
    EXPECT_EQ(font.Handle(), before);
}

const FontChange kFontChanges[] = {
    {"Name", [](TFont& f) { f.SetName(QStringLiteral("DejaVu Sans")); }},
    {"Size", [](TFont& f) { f.SetSize(12); }},
    {"Height", [](TFont& f) { f.SetHeight(-20); }},
    {"Color", [](TFont& f) { f.SetColor(clRed); }},
    {"Style", [](TFont& f) { f.SetStyle(TFont::fsItalic | TFont::fsUnderline); }},
    {"Charset", [](TFont& f) { f.SetCharset(0); }},
    {"Pitch", [](TFont& f) { f.SetPitch(TFont::fpFixed); }},
};

INSTANTIATE_TEST_SUITE_P(Attributes, FontHandleTest, ::testing::ValuesIn(kFontChanges),
                         [](const ::testing::TestParamInfo<FontChange>& info) { return info.param.name; });

TEST(Font, ACopyHasTheSourcesHandleAlsoWhenItChangesAgainOnTheCopy)
{
    TFont source;
    source.SetSize(14);
    const quintptr handle = source.Handle();
    TFont copy;
    copy.Assign(&source);
    EXPECT_EQ(copy.Handle(), handle);

    // An owner that makes every font it is given bold.
    TFont bolded;
    bolded.OnChange = [&bolded] { bolded.SetStyle(TFont::fsBold); };
    bolded.Assign(&source);
    TFont expected;
    expected.SetSize(14);
    expected.SetStyle(TFont::fsBold);
    EXPECT_EQ(bolded.Handle(), expected.Handle());
}

TEST(Font, HeightAndSizeDescribeTheSameFont)
{
    TFont font;
    int changes = 0;
    font.OnChange = [&] { ++changes; };
    font.SetSize(9);
    EXPECT_EQ(font.Height(), -12);
    font.SetHeight(-16);
    EXPECT_EQ(font.Size(), 12);
    font.SetHeight(-16);  // no change, no event
    EXPECT_EQ(changes, 2);
    font.SetPitch(TFont::fpFixed);
    EXPECT_TRUE(font.ToQFont().fixedPitch());
}

}  // namespace
}  // namespace tk

#include "colors_test.moc"
