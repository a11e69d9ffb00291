#pragma once
// The environment values of a device description. Linked environments read and write one set of
// values; linking is transitive, so every environment linked to either side shares the set.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/DataModel.h"

namespace qx::frame {

class FrameEnvironment : public host::IEnvironment, public std::enable_shared_from_this<FrameEnvironment> {
  public:
    static std::shared_ptr<FrameEnvironment> create();

    std::string className() const override { return "Environment"; }
    void put(const std::string& name, const host::Variant& value) override;
    host::Variant get(const std::string& name) const override;
    // The shared set starts as this environment's values, with `other`'s values added under the
    // names this one lacks. `other` must be an environment of the stand-in frame (else error 13).
    void link(const std::shared_ptr<host::IEnvironment>& other) override;

    // Whether `other` reads and writes the same set of values as this one.
    bool sharesValuesWith(const FrameEnvironment& other) const { return store_ == other.store_; }

  private:
    struct Store {
        std::map<std::string, host::Variant> values;
        std::vector<std::weak_ptr<FrameEnvironment>> members;
    };

    FrameEnvironment() = default;
    std::shared_ptr<Store> store_;
};

}  // namespace qx::frame
