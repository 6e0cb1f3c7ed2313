// Materials of the shooting range's figures (data\anim\puska\, data\anim\terciky\):
// plain colours, drawn as they are.

range/rifle_stock
{
	{
		map textures/range/rifle_stock
		rgbgen identity
	}
}

range/rifle_metal
{
	{
		map textures/range/rifle_metal
		rgbgen identity
	}
}

range/target_plate
{
	{
		map textures/range/target_plate
		rgbgen identity
	}
}

range/target_face
{
	{
		map textures/range/target_face
		rgbgen identity
	}
}

range/target_cover
{
	{
		map textures/range/target_cover
		rgbgen identity
	}
}
