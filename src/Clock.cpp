// Clock
