// The running value ranges of the trend charts kept across a teach procedure: a procedure (or
// "Clear") saves them and starts afresh so the charts scale to what follows; "Auto" widens the
// running ranges by what was saved.
#include <algorithm>

#include "view/QX_FlowWiz.h"

namespace qx::view {

namespace {
// Restart values so far outside every real value that the first one replaces them.
constexpr int16_t kRestartMax = -2000;
constexpr int16_t kRestartMin = 2000;
}  // namespace

void QX_FlowWiz::SaveChartRanges() {
    mSavedFlowRangeMax = std::max(mSavedFlowRangeMax, mFlowRangeMax);
    mSavedFlowRangeMin = std::min(mSavedFlowRangeMin, mFlowRangeMin);
    mSavedTempRangeMax = std::max(mSavedTempRangeMax, mTempRangeMax);
    mSavedTempRangeMin = std::min(mSavedTempRangeMin, mTempRangeMin);
    mFlowRangeMax = kRestartMax;
    mTempRangeMax = kRestartMax;
    mFlowRangeMin = kRestartMin;
    mTempRangeMin = kRestartMin;
}

void QX_FlowWiz::RestoreChartRanges() {
    mFlowRangeMin = std::min(mFlowRangeMin, mSavedFlowRangeMin);
    mFlowRangeMax = std::max(mFlowRangeMax, mSavedFlowRangeMax);
    mTempRangeMin = std::min(mTempRangeMin, mSavedTempRangeMin);
    mTempRangeMax = std::max(mTempRangeMax, mSavedTempRangeMax);
}

}  // namespace qx::view
