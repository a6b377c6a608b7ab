[Template]
Name=Receipt
Kind=Document

[Fields]
Number=Text
Date=Date
Amount=Money
