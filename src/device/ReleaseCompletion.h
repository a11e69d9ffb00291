#pragma once
// The end of a deferred release that no answer and no status change is left to bring.
#include "view/QX_FlowWiz.h"

namespace qx::device {

// When the view's release is deferred and nothing is outstanding (no job id in either collection,
// no command waiting), finishes it on the next turn: disconnects a line that is up, or, on a line
// that is gone, does what a status change to disconnected does.
void finishReleaseWithoutAnswers(view::QX_FlowWiz& view);

}  // namespace qx::device
