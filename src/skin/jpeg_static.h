#pragma once
// CJpegStatic: a static control showing a JPEG from the program's resources
// (type "IMAGE"), decoded by OLE and drawn by the fit rule of FitPicture:
// scaled down keeping its proportions, never enlarged, centred. Without a
// picture it paints as a plain static.
#include <ocidl.h>
#include <olectl.h>

#include <string>

#include "framework/static.h"

namespace krx {

class CJpegStatic : public CStatic {
 public:
  CJpegStatic() = default;
  ~CJpegStatic() override;

  // FALSE, keeping the current picture, when the resource is missing or
  // cannot be decoded.
  BOOL LoadImageResource(UINT id);
  // The same from bytes in memory.
  BOOL LoadImageBytes(const std::string& bytes);
  bool HasPicture() const { return picture_ != nullptr; }

 protected:
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Paint(HDC dc);
  void Release();

  IPicture* picture_ = nullptr;
};

}  // namespace krx
