#include "engine/frame/LogLabel.h"

namespace kestrova {

namespace {

std::string& ThreadLabel() {
    thread_local std::string label;
    return label;
}

}  // namespace

TLogThreadLabel::TLogThreadLabel(const std::string& label) : FPrevious(ThreadLabel()) {
    if (!label.empty()) ThreadLabel() = label;
}

TLogThreadLabel::~TLogThreadLabel() {
    ThreadLabel() = FPrevious;
}

const std::string& CurrentLogThreadLabel() {
    return ThreadLabel();
}

}  // namespace kestrova
