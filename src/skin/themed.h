#pragma once
// A skinned control that follows its dialog's theme. CSkinDialog::SetTheme
// gives the new index to every direct child whose object implements this
// (push buttons, check boxes, radio buttons, ...) and then invalidates it.
namespace krx {

class IThemed {
 public:
  // Store the index and reload the colours; the caller repaints.
  virtual void SetTheme(int index) = 0;

 protected:
  ~IThemed() = default;
};

}  // namespace krx
