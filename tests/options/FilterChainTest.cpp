// The video filter chain from the filter check boxes and their texts.
#include "ChoicesFixture.h"

#include "profiles/options/FilterChain.h"

namespace kestrova::test {
namespace {

struct TFilterCase {
    const char* Name;
    TVideoFilterChoices Filters;
    const char* Expected;
};

TVideoFilterChoices Checked(bool vflip, bool hflip, bool negate, bool scale, bool rotate, bool setpts) {
    TVideoFilterChoices filters;
    filters.VertFlip = vflip;
    filters.HoriFlip = hflip;
    filters.Negate = negate;
    filters.Scale = scale;
    filters.Rotate = rotate;
    filters.SetPts = setpts;
    return filters;
}

TVideoFilterChoices WithTexts(TVideoFilterChoices filters, const char* scale, const char* rotate,
                              const char* setpts) {
    filters.ScaleText = scale;
    filters.RotateText = rotate;
    filters.SetPtsText = setpts;
    return filters;
}

TEST(FilterChainTest, CheckedFiltersInTheirOrder) {
    const TVideoFilterChoices all = Checked(true, true, true, true, true, true);
    const TFilterCase cases[] = {
            {"none", {}, ""},
            {"flips and rotate", Checked(true, true, false, false, true, false),
             "vflip,hflip,rotate=45*PI/180"},
            {"all", all, "vflip,hflip,negate,scale=320:240,rotate=45*PI/180,setpts=0.5*PTS"},
            {"texts unchecked",
             WithTexts(Checked(false, false, true, false, false, false), "1:1", "9", "PTS"), "negate"},
            {"texts trimmed", WithTexts(all, " 640:-1 ", " 90 ", " 2*PTS "),
             "vflip,hflip,negate,scale=640:-1,rotate=90*PI/180,setpts=2*PTS"},
            {"empty scale and setpts are left out", WithTexts(all, "  ", "-30", ""),
             "vflip,hflip,negate,rotate=-30*PI/180"},
            {"rotation not a whole number",
             WithTexts(Checked(false, false, false, false, true, false), "", "30.5", ""), "rotate=45*PI/180"},
            {"rotation a word", WithTexts(Checked(false, false, false, false, true, false), "", "left", ""),
             "rotate=45*PI/180"},
    };
    for (const TFilterCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(BuildFilterChain(c.Filters), c.Expected);
    }
}

using FilterRecordTest = ChoicesTest;

TEST_F(FilterRecordTest, ChainGoesIntoTheRecord) {
    Choices.Filters = Checked(false, true, true, false, false, false);
    EXPECT_EQ(Build().VideoFilters, "hflip,negate");
}

}  // namespace
}  // namespace kestrova::test
