// Ini
