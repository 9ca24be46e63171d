#include "SegmentRow.h"

#include "animation/Animation.h"
#include "platform/Clock.h"

namespace Vexa::viewer {

void renderSegmentRow(ModelRenderer& renderer, scene::MeshObject& model, const Segment& segment,
                      int samples, ContactSheet& sheet, int row) {
  Animation& animation = *model.animation();
  double now = 0.0;
  Clock::use([&now] { return now; });
  animation.play(segment.first, segment.last, segment.frameCount);
  const double seconds = (animation.frameTime(segment.last, segment.frameCount) -
                          animation.frameTime(segment.first, segment.frameCount)) /
                         animation.ticksPerSecond();
  for (int sample = 0; sample < samples; ++sample) {
    now = samples > 1 ? seconds * sample / (samples - 1) : 0.0;
    sheet.place(sample, row, renderer.render(model));
  }
  Clock::use(nullptr);
}

}  // namespace Vexa::viewer
