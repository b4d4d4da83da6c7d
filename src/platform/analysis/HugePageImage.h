#pragma once

#include <QImage>

// Large images over memory the kernel backs with huge pages. A 5K screenshot
// is 20 MB of fresh memory, which in 4 KB pages costs five thousand page
// faults as it is first written: as long as the whole code scan.
namespace HugePageImage {

// An uninitialised image of that size and format; an ordinary one when it is
// small or such memory cannot be had.
QImage allocate(QSize size, QImage::Format format);

}  // namespace HugePageImage
