#include "Lang.h"

namespace velmora {

TMessageTable& Messages() {
    static TMessageTable table;
    return table;
}

} // namespace velmora
