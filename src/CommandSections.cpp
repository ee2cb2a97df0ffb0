// CommandSections
