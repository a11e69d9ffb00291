#pragma once
// The text and picture resource component of the frame family: opened on a resource file, it
// answers texts by key in the language set last, and pictures by key.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Export.h"
#include "host/Object.h"

namespace qx::host {

// A picture for an image list: PNG data of the given size.
class QX_FLOW_EXPORT Picture : public Object {
  public:
    Picture(std::string key, std::vector<uint8_t> png, int32_t width, int32_t height)
        : key_(std::move(key)), png_(std::move(png)), width_(width), height_(height) {}
    std::string className() const override { return "Picture"; }
    const std::string& key() const { return key_; }
    const std::vector<uint8_t>& png() const { return png_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

  private:
    std::string key_;
    std::vector<uint8_t> png_;
    int32_t width_, height_;
};

using PicturePtr = std::shared_ptr<Picture>;

class QX_FLOW_EXPORT IResource : public Object {
  public:
    virtual std::string text(const std::string& key, int32_t& option) = 0;
    virtual PicturePtr picture(const std::string& key, bool flag, int32_t kind, int16_t width,
                               int16_t height) = 0;
    virtual int32_t setLanguage(int32_t language) = 0;
};

// A fresh instance of the component; open gives the resource object.
class QX_FLOW_EXPORT IResourceComponent : public Object {
  public:
    virtual std::shared_ptr<IResource> open(int32_t number, const std::string& path) = 0;
};

}  // namespace qx::host
