#include "engine/core/options/BuiltInPresets.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace kestrova {

namespace {

// The presets were first written for the older generation of the encoder wrapper, whose generic
// flags have since become private options of libx264. Each line keeps the setting it stood for:
//
//   older line                        line here                        what it controls
//   coder=0 / 1                       coder=0 / 1                      CAVLC / CABAC (libx264)
//   flags=+loop                       deblock=0:0                      loop filter on at default
//                                                                      strength; the generic
//                                                                      "loop" flag no longer
//                                                                      reaches the encoder
//   cmp=+chroma                       cmp=+chroma                      chroma motion estimation
//   partitions=+parti8x8+...          partitions=i8x8,...              the "+" partitions; all
//                                                                      "-" gives "none"
//   me_method=hex|dia|umh|esa|tesa    motion-est=...                   motion search (libx264)
//   directpred=0|1|2|3                direct-pred=none|spatial|        B-frame direct mode
//                                     temporal|auto
//   flags2=+/-mixed_refs              mixed-refs=1/0                   (libx264)
//   flags2=+/-wpred                   weightb=1/0                      weighted B prediction
//   flags2=+/-dct8x8                  8x8dct=1/0                       (libx264)
//   flags2=+/-fastpskip               fast-pskip=1/0                   (libx264)
//   flags2=+/-mbtree                  mbtree=1/0                       (libx264)
//   flags2=-bpyramid                  b-pyramid=none                   (libx264)
//   wpredp=0|2                        weightp=none|smart               weighted P prediction
//   cqp=0                             qp=0                             constant quantiser (lossless)
//   sc_threshold, b_strategy          unchanged                        now libx264 private options
//   subq, me_range, g, keyint_min,    unchanged                        still generic codec options
//   i_qfactor, qcomp, qmin, qmax,                                      read by libx264
//   qdiff, bf, refs, trellis, level,
//   maxrate, bufsize
constexpr std::array<TBuiltInPreset, 16> kPresets{{
        {"libx264-baseline", "coder=0\nbf=0\nweightb=0\n8x8dct=0\nmbtree=1\nweightp=none\n"},
        {"libx264-default",
         "coder=1\ndeblock=0:0\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,b8x8\nmotion-est=hex\n"
         "subq=7\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\n"
         "b_strategy=1\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=3\n"
         "direct-pred=spatial\ntrellis=1\nmixed-refs=1\nweightb=1\n8x8dct=1\nfast-pskip=1\n"
         "mbtree=1\nweightp=smart\n"},
        {"libx264-fastfirstpass",
         "coder=1\ndeblock=0:0\ncmp=+chroma\npartitions=none\nmotion-est=dia\nsubq=2\n"
         "me_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\nb_strategy=1\n"
         "qcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=1\ndirect-pred=auto\ntrellis=0\n"
         "b-pyramid=none\nweightb=0\nmixed-refs=0\n8x8dct=0\nfast-pskip=1\nmbtree=1\n"
         "weightp=smart\n"},
        {"libx264-hq", "coder=1\ndeblock=0:0\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,b8x8\nmotion-est=umh\n"
                       "subq=8\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\n"
                       "b_strategy=2\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=4\ndirect-pred=auto\n"
                       "trellis=1\nweightb=1\nmixed-refs=1\n8x8dct=1\nfast-pskip=1\nmbtree=1\n"
                       "weightp=smart\n"},
        {"libx264-ipod320", "coder=0\nbf=0\nweightb=0\n8x8dct=0\nmbtree=1\nlevel=13\nmaxrate=768000\n"
                            "bufsize=3000000\nweightp=none\n"},
        {"libx264-ipod640",
         "coder=0\nbf=0\nrefs=1\nweightb=0\n8x8dct=0\nmbtree=1\nlevel=30\nmaxrate=10000000\n"
         "bufsize=10000000\nweightp=none\n"},
        {"libx264-lossless_fast",
         "coder=0\ndeblock=0:0\ncmp=+chroma\npartitions=i4x4,p8x8\nmotion-est=hex\nsubq=3\n"
         "me_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\nb_strategy=1\n"
         "qcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\ndirect-pred=spatial\nfast-pskip=1\nmbtree=1\n"
         "qp=0\nweightp=none\n"},
        {"libx264-lossless_max",
         "coder=1\ndeblock=0:0\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,p4x4\nmotion-est=esa\n"
         "subq=8\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\n"
         "b_strategy=1\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nrefs=16\ndirect-pred=spatial\n"
         "mixed-refs=1\n8x8dct=1\nfast-pskip=1\nmbtree=1\nqp=0\nweightp=smart\n"},
        {"libx264-lossless_medium",
         "coder=1\ndeblock=0:0\ncmp=+chroma\npartitions=i4x4,p8x8,p4x4\nmotion-est=hex\n"
         "subq=5\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\n"
         "b_strategy=1\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\ndirect-pred=spatial\n"
         "fast-pskip=1\nmbtree=1\nqp=0\nweightp=smart\n"},
        {"libx264-lossless_slow",
         "coder=1\ndeblock=0:0\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,p4x4\nmotion-est=umh\n"
         "subq=6\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\n"
         "b_strategy=1\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nrefs=2\ndirect-pred=spatial\n"
         "8x8dct=1\nfast-pskip=1\nmbtree=1\nqp=0\nweightp=smart\n"},
        {"libx264-lossless_slower",
         "coder=1\ndeblock=0:0\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,p4x4\nmotion-est=umh\n"
         "subq=8\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\n"
         "b_strategy=1\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nrefs=4\ndirect-pred=spatial\n"
         "mixed-refs=1\n8x8dct=1\nfast-pskip=1\nmbtree=1\nqp=0\nweightp=smart\n"},
        {"libx264-lossless_ultrafast",
         "coder=0\ndeblock=0:0\ncmp=+chroma\npartitions=none\nmotion-est=dia\nsubq=0\n"
         "me_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\nb_strategy=1\n"
         "qcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\ndirect-pred=spatial\nfast-pskip=1\nmbtree=1\n"
         "qp=0\n"},
        {"libx264-main", "8x8dct=0\nmbtree=1\n"},
        {"libx264-max", "coder=1\ndeblock=0:0\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,p4x4,b8x8\n"
                        "motion-est=tesa\nsubq=10\nme_range=24\ng=250\nkeyint_min=25\nsc_threshold=40\n"
                        "i_qfactor=0.71\nb_strategy=2\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=16\n"
                        "direct-pred=auto\ntrellis=2\nweightb=1\nmixed-refs=1\n8x8dct=1\nfast-pskip=0\n"
                        "mbtree=1\nweightp=smart\n"},
        {"libx264-normal",
         "coder=1\ndeblock=0:0\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,b8x8\nmotion-est=hex\n"
         "subq=6\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\n"
         "b_strategy=1\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=2\ndirect-pred=auto\n"
         "trellis=0\nweightb=1\n8x8dct=1\nfast-pskip=1\nmbtree=1\nweightp=smart\n"},
        {"libx264-slowfirstpass",
         "coder=1\ndeblock=0:0\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,b8x8\nmotion-est=hex\n"
         "subq=6\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\n"
         "b_strategy=2\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=1\ndirect-pred=auto\n"
         "trellis=0\nweightb=1\n8x8dct=1\nfast-pskip=1\nmbtree=1\nweightp=smart\n"},
}};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::span<const TBuiltInPreset> BuiltInPresets() {
    return kPresets;
}

const TBuiltInPreset* FindBuiltInPreset(std::string_view name) {
    const auto found = std::find_if(kPresets.begin(), kPresets.end(), [name](const TBuiltInPreset& preset) {
        return EqualsIgnoringCase(preset.Name, name);
    });
    return found == kPresets.end() ? nullptr : &*found;
}

}  // namespace kestrova
