#pragma once
// The simulated device the stand-in frame offers: the variants a test or the console's `device`
// command chooses before the view is bound.
#include <cstdint>
#include <string>

namespace qx::frame {

// Whether an optional parameter holds a value, holds none, or does not exist at all.
enum class Presence { Valid, NoValue, Missing };

struct DeviceOptions {
    int32_t fw = 1;  // the item "FWversion"
    enum class Category { Match, Other, None } category = Category::Match;
    Presence quickMode = Presence::Valid;  // TEACHDO_QUICK_MODE
    Presence swPoint = Presence::Valid;    // TEACHDO_SWPOINT
    Presence flowSp = Presence::Valid;     // FLOWSP_RAW
    Presence flowSpQt = Presence::Valid;   // FLOWSPQT_RAW
    bool teachPresent = true;              // TEACH_MAX/_MIN (and _SAVE) in both groups
    int32_t language = 1033;               // 0, 1033 or 1031
    int32_t state = 6;                     // the frame's environment value "STATE"
    int32_t localComm = 0;                 // starting value of "LOCAL_COMM"
    bool databasePresent = true;           // the model's settings object has its database
    bool commFails = false;                // CreateCommunication fails with a run-time error
    // The device description the frame's model is made from; empty: the flow monitor's beside
    // the library.
    std::string descriptionPath = {};
};

}  // namespace qx::frame
