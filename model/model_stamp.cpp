// placeholder translation unit (development only)
