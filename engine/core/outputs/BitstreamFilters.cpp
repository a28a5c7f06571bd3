#include "engine/core/outputs/BitstreamFilters.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/options/OptionValues.h"
#include "engine/frame/Text.h"

namespace kestrova {

void AppendBitstreamFilter(TBitstreamFilterChain& chain, const std::string& value) {
    const std::size_t equals = value.find('=');
    if (equals == 0) return;
    const std::string name = Trimmed(value.substr(0, equals));
    const AVBitStreamFilter* filter = name.empty() ? nullptr : ff::av_bsf_get_by_name(name.c_str());
    AVBSFContext* context = nullptr;
    if (!filter || ff::av_bsf_alloc(filter, &context) < 0)
        throw FFmpegException("Unknown bitstream filter " + Trimmed(value));
    TBitstreamFilter entry;
    entry.Context.reset(context);
    if (equals != std::string::npos) entry.Arguments = value.substr(equals + 1);
    chain.push_back(std::move(entry));
}

}  // namespace kestrova
