#pragma once
// TGraphicsObject: the base of the canvas's pen, brush and font. Each owns a drawing-object
// handle made on demand from its properties and dropped when a property changes, and tells its
// owner about changes through OnChange.
#include "platform/core/classes.h"

class TGraphicsObject : public TPersistent {
  KV_CLASS(TGraphicsObject, TPersistent)
public:
  TNotifyEvent OnChange;

protected:
  // Drops the handle and raises OnChange.
  virtual void Changed();
};
