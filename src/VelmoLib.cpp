// VelmoLib
