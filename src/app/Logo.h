#pragma once

#include <QImage>

namespace app {

// The program's logo: a strip of laminated sediment under the program name, drawn at run time.
QImage makeLogo(int width, int height);

}  // namespace app
