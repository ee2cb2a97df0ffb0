// ColorText
