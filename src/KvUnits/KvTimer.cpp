// timer
