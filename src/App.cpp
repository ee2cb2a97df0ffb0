// App
