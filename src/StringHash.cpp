// StringHash
