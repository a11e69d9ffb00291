#pragma once
// The frame's toolbar with its image list and buttons. A button of style 1 (check style) toggles
// its value between 1 (pressed) and 0 on every click before the click is reported; style 0 is a
// push button. Looking up a key that is absent fails with a run-time error.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Export.h"
#include "host/Object.h"
#include "host/Resource.h"
#include "platform/Variant.h"

namespace qx::host {

class QX_FLOW_EXPORT IButton : public Object {
  public:
    virtual std::string key() const = 0;
    virtual int32_t value() const = 0;
    virtual void setValue(int32_t v) = 0;
    virtual bool enabled() const = 0;
    virtual void setEnabled(bool v) = 0;
    virtual std::string ToolTipText() const = 0;
    virtual void setToolTipText(const std::string& v) = 0;
    virtual int32_t Style() const = 0;
    virtual void setStyle(int32_t v) = 0;
    virtual std::string image() const = 0;  // the image-list key it shows
};

using ButtonPtr = std::shared_ptr<IButton>;

class QX_FLOW_EXPORT IButtons : public Object {
  public:
    // index empty appends; image is an image-list key.
    virtual ButtonPtr Add(const platform::Variant& index, const std::string& key, const std::string& caption,
                          int32_t style, const std::string& image) = 0;
    virtual ButtonPtr item(const std::string& key) const = 0;
    virtual int32_t count() const = 0;
};

class QX_FLOW_EXPORT IListImages : public Object {
  public:
    virtual void Add(const platform::Variant& index, const std::string& key, const PicturePtr& picture) = 0;
    virtual PicturePtr item(const std::string& key) const = 0;
    virtual int32_t count() const = 0;
    virtual std::vector<std::string> keys() const = 0;
};

class QX_FLOW_EXPORT IImageList : public Object {
  public:
    virtual std::shared_ptr<IListImages> ListImages() const = 0;
};

class QX_FLOW_EXPORT IToolbar : public Object {
  public:
    virtual std::shared_ptr<IImageList> ImageList() const = 0;
    virtual std::shared_ptr<IButtons> Buttons() const = 0;
};

using ToolbarPtr = std::shared_ptr<IToolbar>;

}  // namespace qx::host
