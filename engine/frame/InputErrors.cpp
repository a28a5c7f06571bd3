#include "engine/frame/InputErrors.h"

#include "engine/frame/UnicodeProtocol.h"

#include <cerrno>
#include <vector>

namespace kestrova {

std::string InputErrorMessage(const std::string& fileName, TInputError error) {
    switch (error) {
        case ieUnknownFormat:
            return fileName + ": Unknown format";
        case ieImageFileNameSyntax:
            return fileName + ": Incorrect image filename syntax.\r\n"
                              "Use '%d' to specify the image number:\r\n"
                              "  for img1.jpg, img2.jpg, ..., use 'img%d.jpg';\r\n"
                              "  for img001.jpg, img002.jpg, ..., use 'img%03d.jpg'.";
        case ieHeaderParse:
            return fileName + ": Error while parsing header";
        case ieNoMemory:
            return fileName + ": memory allocation error occurred";
        case ieIO:
            return fileName + ": I/O error occurred\r\n"
                              "Usually that means that input file is truncated and/or corrupted.";
        case ieNoSuchFile:
            return fileName + ": no such file or directory";
        case ieOther:
            break;
    }
    return fileName + ": Error while opening file";
}

TInputError ClassifyOpenError(const TOpenFailure& failure) {
    if (failure.ImageNameWithoutNumber) return ieImageFileNameSyntax;
    switch (failure.Result) {
        case AVERROR(ENOENT):
            return ieNoSuchFile;
        case AVERROR(EIO):
            return ieIO;
        case AVERROR(ENOMEM):
            return ieNoMemory;
        case AVERROR_INVALIDDATA:
        case AVERROR(EINVAL):
        case AVERROR_EOF:  // an empty file: nothing to recognise
            return failure.FormatRecognised ? ieHeaderParse : ieUnknownFormat;
        default:
            return ieOther;
    }
}

TInputError ClassifyOpenFailure(int result, const std::string& libraryName,
                                const AVInputFormat* forcedFormat) {
    TOpenFailure failure;
    failure.Result = result;
    // An interrupted open is not read again to learn why: the source would block once more.
    const bool interrupted = result == AVERROR_EXIT || result == AVERROR(EINTR);
    failure.FormatRecognised = forcedFormat != nullptr || interrupted || IsRecognisedFormat(libraryName);
    failure.ImageNameWithoutNumber = forcedFormat && (forcedFormat->flags & AVFMT_NOFILE) &&
                                     ff::av_filename_number_test(libraryName.c_str()) == 0;
    return ClassifyOpenError(failure);
}

bool IsRecognisedFormat(const std::string& libraryName) {
    // The library reads at most this much while probing; below it, a format needs more than
    // the retry score to be accepted.
    constexpr int kMaxProbeSize = 1 << 20;
    AVIOContext* raw = nullptr;
    if (OpenOutputIO(&raw, libraryName, AVIO_FLAG_READ) < 0 || !raw) return false;
    std::vector<unsigned char> buffer(kMaxProbeSize + AVPROBE_PADDING_SIZE, 0);
    int size = 0;
    while (size < kMaxProbeSize) {
        const int read = ff::avio_read(raw, buffer.data() + size, kMaxProbeSize - size);
        if (read <= 0) break;
        size += read;
    }
    CloseOutputIO(&raw);

    AVProbeData probe{};
    probe.filename = libraryName.c_str();
    probe.buf = buffer.data();
    probe.buf_size = size;
    int score = 0;
    const AVInputFormat* format = ff::av_probe_input_format3(&probe, 1, &score);
    const int threshold = size < kMaxProbeSize ? AVPROBE_SCORE_RETRY : 0;
    return format && score > threshold;
}

std::string LibraryErrorText(int error) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    if (ff::av_strerror(error, text, sizeof text) < 0) return "error " + std::to_string(error);
    return text;
}

}  // namespace kestrova
