// IniDocument
