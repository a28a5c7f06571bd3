// The "vhook" lines of the external hooks, over a program folder whose vhook/ holds the
// modules (and the demo picture) the test puts there.
#include "ChoicesFixture.h"

#include "profiles/options/HookLines.h"
#include "profiles/options/HookModules.h"

#include <QDir>
#include <QFile>

#include <functional>
#include <tuple>

namespace kestrova::test {
namespace {

QByteArray LittleEndian32(int32_t value) {
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
    return bytes;
}

// The headers of a width x height picture in each format the demo image may come in.
QByteArray BmpHeader(int32_t width, int32_t height) {
    return "BM" + LittleEndian32(0) + LittleEndian32(0) + LittleEndian32(54) + LittleEndian32(40) +
           LittleEndian32(width) + LittleEndian32(height) + QByteArray(28, '\0');
}

QByteArray CoreBmpHeader(uint16_t width, uint16_t height) {
    QByteArray header =
            "BM" + LittleEndian32(0) + LittleEndian32(0) + LittleEndian32(26) + LittleEndian32(12);
    header += static_cast<char>(width & 0xFF);
    header += static_cast<char>(width >> 8);
    header += static_cast<char>(height & 0xFF);
    header += static_cast<char>(height >> 8);
    return header + QByteArray(4, '\0');
}

QByteArray PngHeader(uint32_t width, uint32_t height) {
    QByteArray header("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    for (uint32_t value : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) header += static_cast<char>((value >> shift) & 0xFF);
    return header + QByteArray(5, '\0');
}

class HookLinesTest : public ChoicesTest {
protected:
    HookLinesTest() { UseProgramFolder("program"); }

    // A program folder below the temporary folder with every module in its vhook/.
    void UseProgramFolder(const QString& name) {
        Choices.ProgramFolder = Path(name);  // without the trailing separator
        for (const THookModule& module : kHookModules) WriteFile(name + "/vhook/" + module.Module, "module");
    }

    // The hook folder as the lines name it.
    std::string V() const { return HookFolder(Choices.ProgramFolder).toStdString(); }
};

struct THookCase {
    const char* Name;
    std::function<void(THookChoices&)> Choose;
    std::function<std::string(const std::string& v)> Expected;
};

TEST_F(HookLinesTest, OneLinePerCheckedHookAsItsModuleTakesIt) {
    // The demo picture is 100 x 40; the source is 640 x 360.
    WriteFile("program/vhook/VantelHook.bmp", BmpHeader(100, 40));
    const THookCase cases[] = {
            {"nothing checked", [](THookChoices&) {}, [](const std::string&) { return std::string(); }},
            {"watermark", [](THookChoices& h) { h.WaterMark = true; },
             [](const std::string& v) {
                 return "vhook=" + v + "watermark.so -f " + v + "watermark.bmp -m 0\r\n";
             }},
            {"watermark mode 1",
             [](THookChoices& h) {
                 h.WaterMark = true;
                 h.WaterMarkMode1 = true;
             },
             [](const std::string& v) {
                 return "vhook=" + v + "watermark.so -f " + v + "watermark.bmp -m 1\r\n";
             }},
            {"image", [](THookChoices& h) { h.Imlib2Image = true; },
             [](const std::string& v) {
                 return "vhook=" + v + "imlib2.so -i " + v + "imlib2.bmp -x W-w -y H-h\r\n";
             }},
            {"dancing image",
             [](THookChoices& h) {
                 h.Imlib2Image = true;
                 h.ImageDancing = true;
             },
             [](const std::string& v) {
                 return "vhook=" + v + "imlib2.so -i " + v +
                        "imlib2.bmp -x (W-w)*(0.5+0.5*sin(N/47*PI)) -y (H-h)*(0.5+0.5*cos(N/97*PI))\r\n";
             }},
            {"text", [](THookChoices& h) { h.Imlib2Text = true; },
             [](const std::string& v) {
                 return "vhook=" + v +
                        "imlib2.so -R 255 -G 255 -B 255 -F Tahoma.ttf/16 -t Kestrova -x 10 -y 10\r\n";
             }},
            {"scrolling text, typed",
             [](THookChoices& h) {
                 h.Imlib2Text = true;
                 h.TextScrolling = true;
                 h.Imlib2TextText = "  Kestrova\t";
             },
             [](const std::string& v) {
                 return "vhook=" + v +
                        "imlib2.so -R 255 -G 255 -B 255 -F Tahoma.ttf/16 -t Kestrova -x 10 -y "
                        "(H-25)*(0.5+0.50*cos(N/97*PI))\r\n";
             }},
            {"blank text",
             [](THookChoices& h) {
                 h.Imlib2Text = true;
                 h.Imlib2TextText = "   ";
             },
             [](const std::string& v) {
                 return "vhook=" + v +
                        "imlib2.so -R 255 -G 255 -B 255 -F Tahoma.ttf/16 -t Kestrova -x 10 -y 10\r\n";
             }},
            {"demo image", [](THookChoices& h) { h.DemoImage = true; },
             [](const std::string& v) {
                 return "vhook=" + v + "VantelHook.so -i " + v +
                        "VantelHook.bmp -mc FFFFFF -ix 530 -iy 310\r\n";
             }},
            {"demo text",
             [](THookChoices& h) {
                 h.DemoText = true;
                 h.DemoTextText = "Hello";
             },
             [](const std::string& v) {
                 return "vhook=" + v +
                        "VantelHook.so -t Hello -tx 10 -ty 10 -fc FFFFFF -fn Tahoma -fs 16 -fst BU\r\n";
             }},
            {"demo text with a blank",
             [](THookChoices& h) {
                 h.DemoText = true;
                 h.DemoTextText = "Hello World";
             },
             [](const std::string& v) {
                 return "vhook=" + v +
                        "VantelHook.so|-t|Hello World|-tx|10|-ty|10|-fc|FFFFFF|-fn|Tahoma|-fs|16|-fst|BU\r\n";
             }},
            {"options of unchecked hooks",
             [](THookChoices& h) {
                 h.ImageDancing = true;
                 h.TextScrolling = true;
                 h.WaterMarkMode1 = true;
             },
             [](const std::string&) { return std::string(); }},
            {"all five, in their order",
             [](THookChoices& h) {
                 h.DemoText = h.DemoImage = h.WaterMark = h.Imlib2Text = h.Imlib2Image = true;
             },
             [](const std::string& v) {
                 return "vhook=" + v + "imlib2.so -i " + v + "imlib2.bmp -x W-w -y H-h\r\n" + "vhook=" + v +
                        "imlib2.so -R 255 -G 255 -B 255 -F Tahoma.ttf/16 -t Kestrova -x 10 -y 10\r\n" +
                        "vhook=" + v + "watermark.so -f " + v + "watermark.bmp -m 0\r\n" + "vhook=" + v +
                        "VantelHook.so -i " + v + "VantelHook.bmp -mc FFFFFF -ix 530 -iy 310\r\n" +
                        "vhook=" + v +
                        "VantelHook.so -t Kestrova -tx 10 -ty 10 -fc FFFFFF -fn Tahoma -fs 16 -fst BU\r\n";
             }},
    };
    for (const THookCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Choices.Hooks = THookChoices{};
        c.Choose(Choices.Hooks);
        const TOutputOptions options = Build();
        EXPECT_EQ(options.ExtOptions, c.Expected(V()));
        EXPECT_FALSE(options.CustomHook);
    }
}

TEST_F(HookLinesTest, OnlyPtsPeriodsAddsThePeriodsAfterTheHooks) {
    using enum THookBehaviour;
    const std::string hook = "vhook=" + V() + "watermark.so -f " + V() + "watermark.bmp -m 0\r\n";
    const std::tuple<THookBehaviour, bool, const char*, std::string> cases[] = {
            {Standard, true, "0-5000", hook},
            {BeforeHook, true, "0-5000", hook},
            {Periods, true, " 0-5000,10000-15000 ", hook + "vhookperiods=0-5000,10000-15000\r\n"},
            {Periods, true, "  ", hook},  // the whole duration
            {Periods, false, "0-5000", ""}};
    for (const auto& [behaviour, watermark, periods, expected] : cases) {
        Choices.Hooks = {.WaterMark = watermark, .Behaviour = behaviour, .PeriodsText = periods};
        EXPECT_EQ(Build().ExtOptions, expected) << periods;
    }
}

TEST_F(HookLinesTest, AFolderWithABlankJoinsEveryLineWithBars) {
    UseProgramFolder("My Program");
    Choices.Hooks.WaterMark = true;
    Choices.Hooks.DemoText = true;
    const std::string v = V();
    EXPECT_EQ(Build().ExtOptions,
              "vhook=" + v + "watermark.so|-f|" + v + "watermark.bmp|-m|0\r\n" + "vhook=" + v +
                      "VantelHook.so|-t|Kestrova|-tx|10|-ty|10|-fc|FFFFFF|-fn|Tahoma|-fs|16|-fst|BU\r\n");
}

TEST_F(HookLinesTest, AHookWhoseModuleIsMissingIsLeftOut) {
    ASSERT_TRUE(QFile::remove(Path("program/vhook/watermark.so")));
    ASSERT_TRUE(QFile::remove(Path("program/vhook/VantelHook.so")));
    Choices.Hooks.WaterMark = true;
    Choices.Hooks.DemoImage = true;
    Choices.Hooks.DemoText = true;
    Choices.Hooks.Imlib2Text = true;
    EXPECT_FALSE(IsHookModulePresent(THook::WaterMark, Choices.ProgramFolder));
    EXPECT_TRUE(IsHookModulePresent(THook::Imlib2Image, Choices.ProgramFolder));
    EXPECT_EQ(Build().ExtOptions,
              "vhook=" + V() + "imlib2.so -R 255 -G 255 -B 255 -F Tahoma.ttf/16 -t Kestrova -x 10 -y 10\r\n");
}

TEST_F(HookLinesTest, AFolderNamedLikeAModuleIsNoModule) {
    ASSERT_TRUE(QFile::remove(Path("program/vhook/watermark.so")));
    ASSERT_TRUE(QDir().mkpath(Path("program/vhook/watermark.so")));
    EXPECT_FALSE(IsHookModulePresent(THook::WaterMark, Choices.ProgramFolder));
}

TEST_F(HookLinesTest, CustomHookReplacesTheExternalOnes) {
    Choices.Hooks.Mode = THookMode::Custom;
    Choices.Hooks.WaterMark = true;
    const TOutputOptions options = Build();
    EXPECT_EQ(options.ExtOptions, "");
    EXPECT_TRUE(options.CustomHook);
}

TEST_F(HookLinesTest, DemoImageKeepsItsMarginForEveryPictureFormat) {
    const std::pair<const char*, QByteArray> pictures[] = {
            {"bmp", BmpHeader(100, 40)},
            {"bmp with rows top-down", BmpHeader(100, -40)},
            {"bmp with the old core header", CoreBmpHeader(100, 40)},
            {"png", PngHeader(100, 40)},
            {"ppm with a comment", "P6\n# made by a test\n100 40\n255\n"},
            {"pam", "P7\nWIDTH 100\nHEIGHT 40\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n"},
    };
    Choices.Hooks.DemoImage = true;
    for (const auto& [name, header] : pictures) {
        SCOPED_TRACE(name);
        WriteFile("program/vhook/VantelHook.bmp", header);
        const std::vector<THookArguments> hooks = ActiveHookArguments(Choices);
        ASSERT_EQ(hooks.size(), 1u);
        EXPECT_EQ(std::vector<std::string>(hooks[0].end() - 4, hooks[0].end()),
                  (std::vector<std::string>{"-ix", "530", "-iy", "310"}));
    }
}

TEST_F(HookLinesTest, DemoImageWithoutAReadablePictureCountsItAs64Square) {
    const std::pair<const char*, std::optional<QByteArray>> pictures[] = {
            {"missing", std::nullopt},
            {"not a picture", QByteArray("GIF89a not read here")},
            {"cut short", QByteArray("BM\0\0", 4)},
            {"zero width", BmpHeader(0, 40)},
    };
    Choices.Hooks.DemoImage = true;
    for (const auto& [name, content] : pictures) {
        SCOPED_TRACE(name);
        QFile::remove(Path("program/vhook/VantelHook.bmp"));
        if (content) WriteFile("program/vhook/VantelHook.bmp", *content);
        const THookArguments hook = ActiveHookArguments(Choices).at(0);
        EXPECT_EQ(std::vector<std::string>(hook.end() - 4, hook.end()),
                  (std::vector<std::string>{"-ix", "566", "-iy", "286"}));
    }
}

}  // namespace
}  // namespace kestrova::test
