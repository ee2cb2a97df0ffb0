// TextForms
