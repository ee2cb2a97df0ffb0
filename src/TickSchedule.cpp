// TickSchedule
