// AlarmLogic
