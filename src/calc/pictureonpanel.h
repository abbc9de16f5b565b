#pragma once

#include "catalogue/modelrecord.h"

namespace vistrel {

// Where a picture lies on the projector's panel. A lens line gives D43, the
// diagonal of a 4 : 3 picture on the panel: on a panel at least as wide as
// 4 : 3 that picture fills its height, on a narrower one its width. Any
// other picture is as wide as the panel when it is flatter than it
// (letterbox), else as high (pillarbox). An anamorphic lens widens the
// panel's image by its factor and leaves its height.

struct Sides {
    double width = 0;
    double height = 0;

    double diagonal() const;
    double area() const { return width * height; }
};

// The sides of a picture of `diagonal` and aspect `ratio`, worked out as the
// calculation does.
Sides sidesOf(double diagonal, double ratio);

// The aspect of a model's panel (width / height): its pixels when both are
// known; otherwise 16 : 9 where the 16 : 9 picture is as high as the 4 : 3
// one (WideScreenMode 1), else 4 : 3.
double panelAspect(const ModelRecord &model);
// The aspect its WideScreenMode alone implies, pixels aside.
double modePanelAspect(const ModelRecord &model);

// A picture of aspect `ratio` on a panel of `panelAspect` behind a lens of
// `anamorphic` factor, all lengths per unit of D43.
struct Placement {
    Sides panel;   // the panel as the lens throws it, before the anamorphic lens
    Sides lit;     // the lit area on the screen: the panel widened by the factor
    Sides picture; // the picture within it
    // How far the picture's near edge lies inside the 4 : 3 picture's, as a
    // share of this picture's height: half the difference of their heights
    // relative to the 4 : 3 one (a 16 : 9 letterbox on a 4 : 3 panel: 1/8).
    double nearEdgeShift = 0;

    bool letterbox() const { return picture.height < lit.height; }
    bool pillarbox() const { return picture.width < lit.width; }
    // The picture's share of the lit area.
    double share() const;
};

Placement place(double panelAspect, double anamorphic, double ratio);

// Whether a panel is 16 : 9, so that the catalogue's 16 : 9 limits size it:
// within 1 % (1366 x 768 and 854 x 480 are sold as 16 : 9).
bool isWidePanel(double panelAspect);

} // namespace vistrel
