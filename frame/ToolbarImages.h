#pragma once
// The frame toolbar's image list: pictures under keys, in order. Adding under a key already
// present fails (error 35602), so an entry once added is never replaced.
#include "frame/KeyedList.h"
#include "host/Toolbar.h"

namespace qx::frame {

class ListImages : public host::IListImages {
  public:
    std::string className() const override { return "ListImages"; }
    void Add(const platform::Variant& index, const std::string& key,
             const host::PicturePtr& picture) override {
        images_.insert(index, key, picture);
    }
    // Error 35601 for a key that is absent.
    host::PicturePtr item(const std::string& key) const override { return images_.at(key); }
    int32_t count() const override { return images_.count(); }
    std::vector<std::string> keys() const override { return images_.keys(); }

  private:
    KeyedList<host::Picture> images_;
};

class ImageList : public host::IImageList {
  public:
    std::string className() const override { return "ImageList"; }
    std::shared_ptr<host::IListImages> ListImages() const override { return images_; }
    const std::shared_ptr<frame::ListImages>& images() const { return images_; }

  private:
    std::shared_ptr<frame::ListImages> images_ = std::make_shared<frame::ListImages>();
};

}  // namespace qx::frame
