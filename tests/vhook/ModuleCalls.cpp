#include "ModuleCalls.h"

extern "C" {
#include <libavutil/common.h>
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
}

#include <dlfcn.h>

#include <stdexcept>

namespace kestrova::vhooktest {

namespace {

constexpr uint8_t kFenceByte = 0xa5;
constexpr int kGuardBytes = 64;
constexpr int kRowPadding = 16;

}  // namespace

THookInstance::THookInstance(const std::vector<std::string>& args) : FArguments(args) {
    // Modules stay loaded for the life of the process, as the engine keeps them.
    void* module = dlopen(args.at(0).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) throw std::runtime_error(dlerror());
    FConfigure = reinterpret_cast<TConfigure>(dlsym(module, "Configure"));
    FProcess = reinterpret_cast<TProcess>(dlsym(module, "Process"));
    FRelease = reinterpret_cast<TRelease>(dlsym(module, "Release"));
    if (!FConfigure || !FProcess || !FRelease) throw std::runtime_error("entry point missing in " + args[0]);
    for (std::string& argument : FArguments) FArgv.push_back(argument.data());
    FArgv.push_back(nullptr);
    FResult = FConfigure(&FContext, static_cast<int>(FArguments.size()), FArgv.data());
}

THookInstance::~THookInstance() {
    if (FContext) FRelease(FContext);
}

void THookInstance::Process(THookPictureRecord& picture, AVPixelFormat format, int width, int height,
                            int64_t pts) {
    FProcess(FContext, &picture, format, width, height, pts);
}

TFencedPicture::TFencedPicture(AVPixelFormat format, int width, int height)
    : FFormat(format), FWidth(width), FHeight(height) {
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(format);
    const int planes = av_pix_fmt_count_planes(format);
    for (int plane = 0; plane < planes; ++plane) {
        TPlane fenced;
        fenced.RowBytes = av_image_get_linesize(format, width, plane);
        const bool chroma = !(descriptor->flags & AV_PIX_FMT_FLAG_RGB) && (plane == 1 || plane == 2);
        fenced.Rows = chroma ? AV_CEIL_RSHIFT(height, descriptor->log2_chroma_h) : height;
        fenced.Linesize = fenced.RowBytes + kRowPadding;
        fenced.Buffer.assign(static_cast<size_t>(fenced.Linesize) * fenced.Rows + 2 * kGuardBytes,
                             kFenceByte);
        for (int row = 0; row < fenced.Rows; ++row)
            for (int at = 0; at < fenced.RowBytes; ++at)
                fenced.Buffer[kGuardBytes + static_cast<size_t>(row) * fenced.Linesize + at] =
                        static_cast<uint8_t>((row * 7 + at * 3) & 0x7f);
        FPlanes.push_back(std::move(fenced));
    }
    for (int plane = 0; plane < planes; ++plane) {
        FRecord.Data[plane] = FPlanes[plane].Buffer.data() + kGuardBytes;
        FRecord.Linesize[plane] = FPlanes[plane].Linesize;
    }
}

bool TFencedPicture::FencesIntact() const {
    for (const TPlane& plane : FPlanes) {
        for (size_t at = 0; at < plane.Buffer.size(); ++at) {
            const bool guard = at < kGuardBytes || at >= plane.Buffer.size() - kGuardBytes;
            const bool padding =
                    !guard && static_cast<int>((at - kGuardBytes) % plane.Linesize) >= plane.RowBytes;
            if ((guard || padding) && plane.Buffer[at] != kFenceByte) return false;
        }
    }
    return true;
}

std::vector<uint8_t> TFencedPicture::Content() const {
    std::vector<uint8_t> content;
    for (const TPlane& plane : FPlanes)
        for (int row = 0; row < plane.Rows; ++row) {
            const auto start =
                    plane.Buffer.begin() + kGuardBytes + static_cast<ptrdiff_t>(row) * plane.Linesize;
            content.insert(content.end(), start, start + plane.RowBytes);
        }
    return content;
}

}  // namespace kestrova::vhooktest

namespace kestrova::vhooktest {

TFramePtr TFencedPicture::AsFrame() const {
    TFramePtr frame(av_frame_alloc());
    if (!frame) return frame;
    frame->format = FFormat;
    frame->width = FWidth;
    frame->height = FHeight;
    for (size_t plane = 0; plane < FPlanes.size(); ++plane) {
        frame->data[plane] = FRecord.Data[plane];
        frame->linesize[plane] = FRecord.Linesize[plane];
    }
    return frame;
}

}  // namespace kestrova::vhooktest
