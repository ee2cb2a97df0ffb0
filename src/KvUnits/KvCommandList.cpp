// command list
