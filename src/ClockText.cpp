// ClockText
