[Template]
Name=Invoice
Kind=Document

[Fields]
Number=Text
Date=Date
Customer=Reference:Customers
Total=Money
